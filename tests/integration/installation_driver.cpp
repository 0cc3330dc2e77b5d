// One installation of the program for the many-installations test: the main
// window and the library window on the catalogue named by the deployment
// value, working through InstallationPlan with the real handlers. The
// machine identifier comes from the test build of libUserINFO
// (VELMORA_TEST_HARDDRIVEID). Exit status 0 when every operation ran without
// a message box; otherwise the boxes' texts go to stderr and the status is 1.
//
//   installation_driver DEPLOYMENT-VALUE MACHINE-INDEX ROUNDS
#include "CatalogueLocation.h"
#include "InstallationPlan.h"
#include "IntegrationSupport.h"

#include <QApplication>
#include <cstdio>

using namespace Integration;
using namespace InstallationPlan;

namespace {

bool selectListRow(Window& w, const QString& address)
{
    auto* grid = w.child<QTableView>("DBGrid1");
    for (int r = 0; r < grid->model()->rowCount(); ++r) {
        if (grid->model()->index(r, 1).data().toString() == address) {
            grid->setCurrentIndex(grid->model()->index(r, 1));
            return true;
        }
    }
    return false;
}

int fail(const QString& what)
{
    std::fprintf(stderr, "%s\n", qPrintable(what));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() != 4)
        return fail(QStringLiteral("usage: installation_driver DEPLOYMENT-VALUE MACHINE-INDEX ROUNDS"));
    const int machine = args[2].toInt();
    const int rounds = args[3].toInt();

    Window w(CatalogueLocation::parse(args[1]).settings);
    Library library(*w.main);
    auto problems = [&] { return w.messages.texts().join(QStringLiteral("\n")); };
    if (!w.messages.messages.isEmpty())
        return fail(QStringLiteral("start: ") + problems());

    int operations = 0;
    for (int round = 0; round < rounds; ++round) {
        const int k = target(machine, round);
        if (addsPortal(round))
            w.addSite(portalName(k), portalAddress(k), QStringLiteral("门户"));
        else
            w.addSite(QStringLiteral("自己的"), ownAddress(machine, round), QStringLiteral("自己"));
        if (!selectListRow(w, portalAddress(k)))
            return fail(QStringLiteral("round %1: %2 is not in the list").arg(round).arg(portalAddress(k)));
        DefaultErrorHandler::run([&] { w.main->DBGrid1DblClick(); });
        if (clicksPortalCategory(round) && !library.clickCategory(QStringLiteral("综合"), QStringLiteral("门户")))
            return fail(QStringLiteral("no category 门户"));
        if (!library.clickCategory(QStringLiteral("综合"), QStringLiteral("软件")))
            return fail(QStringLiteral("no category 软件"));
        if (!library.selectSite(toolName(k)))
            return fail(QStringLiteral("round %1: %2 is not listed").arg(round).arg(toolName(k)));
        DefaultErrorHandler::run([&] { library.window->DBGrid1DblClick(); });
        DefaultErrorHandler::run([&] { library.window->N4Click(); });
        operations += kOperationsPerRound;
        if (!w.messages.messages.isEmpty())
            return fail(QStringLiteral("round %1: %2").arg(round).arg(problems()));
    }
    std::printf("operations=%d\n", operations);
    return 0;
}
