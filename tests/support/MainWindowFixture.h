#pragma once

#include "Captures.h"
#include "CatalogueFixture.h"
#include "RequireChild.h"
#include "Unit2.h"

#include <QTest>
#include <memory>

// The main window over a fresh SQLite catalogue, with message boxes and
// launches captured. open() creates and shows the window, which runs its
// start page and loads the machine's list.
struct MainWindowFixture
{
    SqliteCatalogue catalogue;
    MessageCapture messages;
    LaunchCapture launches;
    std::unique_ptr<TFMain> window;

    // The identifier the test build of libUserINFO reports when none is set.
    static QString machine() { return QStringLiteral("TEST-DRIVE-0001"); }

    void open()
    {
        window = std::make_unique<TFMain>(catalogue.settings());
        window->show();
        QApplication::setActiveWindow(window.get());
        (void)QTest::qWaitForWindowActive(window.get());
    }

    template <typename Widget>
    Widget* child(const char* name) const
    {
        return requireChild<Widget>(window.get(), name);
    }

    // A site in this machine's list.
    void addOwnSite(const QString& name, const QString& address, int useCount = 0,
                    const QString& machineId = machine())
    {
        catalogue.exec(QStringLiteral("insert into UsersM(UserID, UserName, UserNetName, UserNetRuL, Calling, Remark, UseCount) "
                                      "values (?, '', ?, ?, '', '不推荐', ?)"),
                       {machineId, name, address, useCount});
    }
};
