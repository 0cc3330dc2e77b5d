#pragma once

#include <QMainWindow>

#include <memory>

class QMenu;
class QTreeWidgetItem;
class TADOConnection;
class TADOQuery;
class TDataSource;

namespace Ui {
class TFKorvath;
}

// The site library: the catalogue as a tree of groups and categories, a
// category's sites by visits, opening and copying them, and the suggestion box.
class TFKorvath : public QMainWindow
{
    Q_OBJECT

public:
    // Runs its statements over the main window's connection.
    explicit TFKorvath(TADOConnection& connection, QWidget* parent = nullptr);
    ~TFKorvath() override;

    // Event handlers.
    void FormShow();
    void TreeView1Click();
    void DBGrid1DblClick();
    void N4Click();
    void Button1Click();
    void N3Click();
    void N6Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TFKorvath> m_ui;
    TADOConnection& m_connection;
    TADOQuery* ADOQuery1;
    TADOQuery* ADOQuery2;
    TADOQuery* ADOQuery3;
    TADOQuery* ADOQuery4;
    TDataSource* DataSource1;
    QMenu* PopupMenu1;
    bool m_shown = false;
    bool m_afterDoubleClick = false;
};

// The library window while it is open.
extern TFKorvath* FKorvath;
