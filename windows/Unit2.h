#pragma once

#include <QList>
#include <QMainWindow>
#include <QString>

#include <memory>

class StatusPanels;
class TADOConnection;
class TADOQuery;
class TDataSource;
class TsuiURLLabel;
struct ConnectionSettings;

namespace Ui {
class TFMain;
}

// The machine identifier, set once by TFMain::FormCreate; the key of the
// machine's rows in UsersM, LoadInfo and LeaveWord.
extern QString MachineID;

// The main window: the machine's site list, adding and opening sites, the
// start page with its three link panels, and the menus.
class TFMain : public QMainWindow
{
    Q_OBJECT

public:
    // Opens the catalogue connection as part of creating the window.
    explicit TFMain(const ConnectionSettings& catalogue, QWidget* parent = nullptr);
    ~TFMain() override;

    TADOConnection& connection() { return *ADOConnection1; }

    // Event handlers.
    void FormCreate();
    void FormShow();
    void Edit2Enter();
    void Edit3Enter();
    void Edit2KeyPress(QChar key);
    void Edit3KeyPress(QChar key);
    void DBGrid1DblClick();
    void Button1Click();
    void N3Click();
    void N6Click();
    void N7Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillPanel(TADOQuery* query, const QString& statement, const QString& captionField,
                   const QString& addressField, const QList<TsuiURLLabel*>& links);
    void listLoad();
    void listReload();
    QList<TsuiURLLabel*> links(int first, int last) const;

    std::unique_ptr<Ui::TFMain> m_ui;
    std::unique_ptr<TADOConnection> ADOConnection1;
    TADOQuery* ADOQuery1;
    TADOQuery* ADOQuery2;
    TADOQuery* ADOQuery3;
    TADOQuery* ADOQuery4;
    TADOQuery* ADOQuery5;
    TADOQuery* ADOQuery6;
    TDataSource* DataSource1;
    std::unique_ptr<StatusPanels> m_statusPanels;
    bool m_shown = false;
};
