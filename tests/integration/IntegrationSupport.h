#pragma once

// Helpers of the suites that run the windows against the PostgreSQL test
// server: the two ways of reaching it, the whole catalogue as text for
// "nothing else changed" checks, and a window with its boxes and launches
// captured.
#include "Captures.h"
#include "DefaultErrorHandler.h"
#include "PostgresCatalogue.h"
#include "RequireChild.h"
#include "Trim.h"
#include "Unit1.h"
#include "Unit2.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace Integration {

// Every data-driven suite runs each case over both drivers.
inline void addDriverColumn()
{
    QTest::addColumn<QString>("driver");
}

inline QStringList drivers()
{
    return {QStringLiteral("QPSQL"), QStringLiteral("QODBC")};
}

// The catalogue's eight tables, each as its sorted rows in text.
inline const QStringList& tables()
{
    static const QStringList names{"Net", "UsersM", "NetType", "BigType", "GG", "LoadInfo", "LeaveWord", "Edition"};
    return names;
}

using Contents = QMap<QString, QStringList>;

inline QString rowText(const QVariantList& row)
{
    QStringList cells;
    for (const QVariant& v : row)
        cells << (v.isNull() ? QStringLiteral("<null>") : v.toString());
    return cells.join(QStringLiteral(" | "));
}

inline Contents contents(CatalogueFixture& catalogue)
{
    Contents result;
    for (const QString& table : tables()) {
        QStringList rows;
        for (const QVariantList& row : catalogue.rows(QStringLiteral("select * from %1").arg(table)))
            rows << rowText(row);
        rows.sort();
        result.insert(table, rows);
    }
    return result;
}

// A small catalogue: two groups, three categories, sites, adverts, a version.
inline void addSmallCatalogue(CatalogueFixture& c)
{
    c.exec("insert into BigType(BigType, BCount) values ('综合', 1), ('工具', 2)");
    c.exec("insert into NetType(BigType, Type, N_Count) values ('综合', '门户', 5), ('综合', '新闻', 3), ('工具', '软件', 0)");
    c.addSite("新浪", "http://www.sina.com.cn", "综合", "门户", 9, 40);
    c.addSite("网易", "www.163.com", "综合", "门户", 7, 30);
    c.addSite("人民网", "http://www.people.com.cn", "综合", "新闻", 1, 20);
    c.addSite("华军软件园", "http://www.onlinedown.net", "工具", "软件", 3, 10);
    c.exec("insert into GG(GGName, GGURL) values ('广告一', 'http://ad.example.cn')");
    c.exec("insert into Edition(Edition, MaxEdition, Down) values (1.0, 1.2, 'http://down.example.cn/velmora.zip')");
}

// The main window over the test server, shown; message boxes and launches captured.
struct Window
{
    explicit Window(PostgresCatalogue& catalogue) : Window(catalogue.settings()) {}
    explicit Window(const ConnectionSettings& settings)
    {
        main = std::make_unique<TFMain>(settings);
        main->show();
        QApplication::setActiveWindow(main.get());
    }

    template <typename Widget>
    Widget* child(const char* name) const
    {
        return requireChild<Widget>(main.get(), name);
    }

    // Types a site into the three fields and presses Enter in the trade field.
    void addSite(const QString& name, const QString& address, const QString& trade)
    {
        child<QLineEdit>("Edit1")->setText(name);
        child<QLineEdit>("Edit2")->setText(address);
        child<QLineEdit>("Edit3")->setText(trade);
        QTest::keyClick(child<QLineEdit>("Edit3"), Qt::Key_Return);
    }

    int listRows() const { return child<QTableView>("DBGrid1")->model()->rowCount(); }

    MessageCapture messages;
    LaunchCapture launches;
    std::unique_ptr<TFMain> main;
};

// The library window on the main window's connection, shown (its tree built).
struct Library
{
    explicit Library(TFMain& main) : window(std::make_unique<TFKorvath>(main.connection()))
    {
        window->show();
    }

    template <typename Widget>
    Widget* child(const char* name) const
    {
        return requireChild<Widget>(window.get(), name);
    }

    // Selects the category node under its group and clicks it.
    bool clickCategory(const QString& group, const QString& category)
    {
        auto* tree = child<QTreeWidget>("TreeView1");
        for (int g = 0; g < tree->topLevelItemCount(); ++g) {
            QTreeWidgetItem* groupNode = tree->topLevelItem(g);
            if (groupNode->text(0) != group)
                continue;
            for (int c = 0; c < groupNode->childCount(); ++c) {
                if (groupNode->child(c)->text(0) == category) {
                    tree->setCurrentItem(groupNode->child(c));
                    DefaultErrorHandler::run([this] { window->TreeView1Click(); });
                    return true;
                }
            }
        }
        return false;
    }

    // Moves the grid's cursor to the listed site of that name.
    bool selectSite(const QString& name)
    {
        auto* grid = child<QTableView>("DBGrid1");
        for (int r = 0; r < grid->model()->rowCount(); ++r) {
            if (grid->model()->index(r, 0).data().toString() == name) {
                grid->setCurrentIndex(grid->model()->index(r, 0));
                return true;
            }
        }
        return false;
    }

    std::unique_ptr<TFKorvath> window;
};

// Runs scripts/pg-test-server.sh COMMAND on the given server folder.
inline bool serverCommand(const QString& command, const QString& folder, QString* output = nullptr)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(QStringLiteral("bash"), {QStringLiteral(VELMORA_PG_SCRIPT), command, folder});
    const bool finished = script.waitForFinished(120000);
    const QString text = QString::fromLocal8Bit(script.readAll());
    if (output)
        *output = text;
    if (!finished || script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0) {
        qWarning("pg-test-server.sh %s failed: %s", qPrintable(command), qPrintable(text));
        return false;
    }
    return true;
}

} // namespace Integration
