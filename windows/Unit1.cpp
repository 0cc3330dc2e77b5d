#include "Unit1.h"
#include "ui_Unit1.h"

#include "AddressForms.h"
#include "DefaultErrorHandler.h"
#include "MessageBoxes.h"
#include "ModalWindow.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TDataSource.h"
#include "Trim.h"
#include "UAboud.h"
#include "Unit2.h"
#include "WindowPlacement.h"

#include <QDateTime>
#include <QMenu>
#include <QMouseEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTreeWidget>

TFKorvath* FKorvath = nullptr;

TFKorvath::TFKorvath(TADOConnection& connection, QWidget* parent)
    : QMainWindow(parent),
      m_ui(std::make_unique<Ui::TFKorvath>()),
      m_connection(connection),
      ADOQuery1(new TADOQuery(connection, QStringLiteral("ADOQuery1"), 45, this)),
      ADOQuery2(new TADOQuery(connection, QStringLiteral("ADOQuery2"), 30, this)),
      ADOQuery3(new TADOQuery(connection, QStringLiteral("ADOQuery3"), 30, this)),
      ADOQuery4(new TADOQuery(connection, QStringLiteral("ADOQuery4"), 30, this))
{
    m_ui->setupUi(this);
    m_ui->N1->actions().constFirst()->setObjectName(QStringLiteral("N2"));
    m_ui->centralwidget->setFixedSize(708, 444);
    m_ui->StatusBar1->setSizeGripEnabled(false);
    m_ui->StatusBar1->setFixedHeight(19);
    setFixedSize(sizeHint());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    QPalette treeColours = m_ui->TreeView1->palette();
    treeColours.setColor(QPalette::Base, Qt::white);
    m_ui->TreeView1->setPalette(treeColours);

    DataSource1 = new TDataSource(*ADOQuery1, {{QStringLiteral("NetName"), QStringLiteral("网站名称"), 180}}, this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->attach(m_ui->DBGrid1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(m_ui->N4);
    m_ui->DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_ui->DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu1->popup(m_ui->DBGrid1->viewport()->mapToGlobal(at));
    });

    m_ui->TreeView1->viewport()->installEventFilter(this);
    m_ui->DBGrid1->viewport()->installEventFilter(this);
    DefaultErrorHandler::bind(m_ui->N4, &QAction::triggered, this, &TFKorvath::N4Click);
    DefaultErrorHandler::bind(m_ui->Button1, &QPushButton::clicked, this, &TFKorvath::Button1Click);
    DefaultErrorHandler::bind(m_ui->N3, &QAction::triggered, this, &TFKorvath::N3Click);
    DefaultErrorHandler::bind(m_ui->N6, &QAction::triggered, this, &TFKorvath::N6Click);
}

TFKorvath::~TFKorvath() = default;

void TFKorvath::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    centreOnScreen(this);
    DefaultErrorHandler::run([this] { FormShow(); });
}

bool TFKorvath::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->TreeView1->viewport()) {
        // One click per press and release; the release that ends a double-click is no new click.
        if (event->type() == QEvent::MouseButtonDblClick)
            m_afterDoubleClick = true;
        if (event->type() == QEvent::MouseButtonRelease) {
            const bool secondHalf = m_afterDoubleClick;
            m_afterDoubleClick = false;
            if (!secondHalf && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                DefaultErrorHandler::run([this] { TreeView1Click(); });
        }
    } else if (watched == m_ui->DBGrid1->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        DefaultErrorHandler::run([this] { DBGrid1DblClick(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- the category tree ------------------------------------------------------------

void TFKorvath::FormShow()
{
    m_ui->TreeView1->clear();
    ADOQuery3->setStatement({QStringLiteral("select distinct BigType,BCount from BigType order by BCount ")});
    ADOQuery3->open();
    ADOQuery3->first();
    while (!ADOQuery3->eof()) {
        const QString group = trimLow(ADOQuery3->fieldAsText(QStringLiteral("BigType")));
        auto* groupNode = new QTreeWidgetItem(QStringList{group});
        m_ui->TreeView1->insertTopLevelItem(0, groupNode);

        ADOQuery2->setStatement({QStringLiteral("select distinct Type,N_Count from NetType where BigType=:BigType order by N_Count Desc")});
        ADOQuery2->setParameter(QStringLiteral("BigType"), group);
        ADOQuery2->open();
        ADOQuery2->first();
        while (!ADOQuery2->eof()) {
            groupNode->addChild(new QTreeWidgetItem(QStringList{trimLow(ADOQuery2->fieldAsText(QStringLiteral("Type")))}));
            ADOQuery2->next();
        }
        ADOQuery3->next();
    }
}

// ---- browsing ----------------------------------------------------------------------

void TFKorvath::TreeView1Click()
{
    const QTreeWidgetItem* node = m_ui->TreeView1->currentItem();
    if (!node || !node->isSelected())
        return;
    // A group node names no category: it counts nothing and lists nothing.
    if (!node->parent())
        return;
    const QString category = node->text(0);
    const QString group = node->parent()->text(0);

    ADOQuery2->setStatement({QStringLiteral("update NetType set N_Count=N_Count+:N_Count where BigType=:BigType and type=:type")});
    ADOQuery2->setParameter(QStringLiteral("N_Count"), 1);
    ADOQuery2->setParameter(QStringLiteral("BigType"), trimLow(group));
    ADOQuery2->setParameter(QStringLiteral("type"), trimLow(category));
    ADOQuery2->execute();

    ADOQuery1->setStatement({QStringLiteral("select * from Net where BigType=:BigType and NetType=:NetType order by SumCount Desc")});
    ADOQuery1->setParameter(QStringLiteral("BigType"), group);
    ADOQuery1->setParameter(QStringLiteral("NetType"), category);
    ADOQuery1->open();
}

void TFKorvath::DBGrid1DblClick()
{
    if (ADOQuery1->isEmpty())
        return;
    const QString address = trimLow(ADOQuery1->fieldAsText(QStringLiteral("NetAddress")));

    ADOQuery2->setStatement({QStringLiteral("update Net set SumCount=SumCount+:SumCount,WriteTime=:WriteTime where NetAddress=:NetAddress")});
    ADOQuery2->setParameter(QStringLiteral("SumCount"), 1);
    ADOQuery2->setParameter(QStringLiteral("WriteTime"), QDateTime::currentDateTime());
    ADOQuery2->setParameter(QStringLiteral("Netaddress"), trimLow(address));
    ADOQuery2->execute();

    OpenInBrowser(MakeLaunchForm(address));
}

// ---- copying a site into the machine's list ------------------------------------------------

void TFKorvath::N4Click()
{
    if (ADOQuery1->isEmpty())
        return;
    const QString name = trimLow(ADOQuery1->fieldAsText(QStringLiteral("NetName")));
    const QString address = trimLow(ADOQuery1->fieldAsText(QStringLiteral("NetAddress")));
    const QString category = trimLow(ADOQuery1->fieldAsText(QStringLiteral("NetType")));

    ADOQuery2->setStatement({QStringLiteral("select * from UsersM where UserID=:UserID and UserNetRuL=:UserNetRuL")});
    ADOQuery2->setParameter(QStringLiteral("UserID"), trimLow(MachineID));
    ADOQuery2->setParameter(QStringLiteral("UserNetRuL"), address);
    ADOQuery2->open();
    if (!ADOQuery2->isEmpty())
        return;

    ADOQuery3->setStatement({QStringLiteral("insert into UsersM(UserID,UserName,UserNetName,UserNetRuL,Calling,Writetime,Remark)"),
                             QStringLiteral("values(:UserID,:UserName,:UserNetName,:UserNetRuL,:Calling,:Writetime,:Remark)")});
    ADOQuery3->setParameter(QStringLiteral("UserID"), trimLow(MachineID));
    ADOQuery3->setParameter(QStringLiteral("UserName"), QString());
    ADOQuery3->setParameter(QStringLiteral("UserNetName"), name);
    ADOQuery3->setParameter(QStringLiteral("UserNetRuL"), address);
    ADOQuery3->setParameter(QStringLiteral("Calling"), category);
    ADOQuery3->setParameter(QStringLiteral("Writetime"), QDateTime::currentDateTime());
    ADOQuery3->setParameter(QStringLiteral("Remark"), QStringLiteral("网址库"));
    ADOQuery3->execute();

    ADOQuery3->setStatement({QStringLiteral("select * from Net where NetAddress=:NetAddress")});
    ADOQuery3->setParameter(QStringLiteral("Netaddress"), address);
    ADOQuery3->open();
    if (ADOQuery3->recordCount() == 1) {
        ADOQuery3->setStatement({QStringLiteral("update Net set UserCount=UserCount+:UserCount where NetAddress=:NetAddress")});
        ADOQuery3->setParameter(QStringLiteral("UserCount"), 1);
        ADOQuery3->setParameter(QStringLiteral("Netaddress"), address);
        ADOQuery3->execute();
    }
}

// ---- the suggestion box ----------------------------------------------------------------------

namespace {

// A memo's whole text as typed, its lines joined by carriage return and line
// feed. (toPlainText() would also turn no-break spaces into plain ones.)
QString memoText(const QPlainTextEdit* memo)
{
    QString text = memo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

} // namespace

void TFKorvath::Button1Click()
{
    const QString one = trimLow(memoText(m_ui->Memo1));
    const QString two = trimLow(memoText(m_ui->Memo2));
    if (one.isEmpty() && two.isEmpty())
        return;

    ADOQuery4->setStatement({QStringLiteral("insert into LeaveWord(one,two,UseID,OtherUseID,Remark) values(:one,:two,:UseID,:OtherUseID,:Remark)")});
    ADOQuery4->setParameter(QStringLiteral("one"), one);
    ADOQuery4->setParameter(QStringLiteral("two"), two);
    ADOQuery4->setParameter(QStringLiteral("useID"), trimLow(MachineID));
    ADOQuery4->setParameter(QStringLiteral("OtherUseID"), QStringLiteral("系统"));
    ADOQuery4->setParameter(QStringLiteral("Remark"), QStringLiteral("等待回复"));
    ADOQuery4->execute();

    m_ui->Memo1->clear();
    m_ui->Memo2->clear();
    m_ui->Memo1->setFocus();
    MessageBoxes::show({QStringLiteral("系统提示"), QStringLiteral("留言成功！"), MessageBoxes::Icon::None});
}

// ---- menus ----------------------------------------------------------------------------------

void TFKorvath::N3Click()
{
    close();
}

void TFKorvath::N6Click()
{
    auto window = std::make_unique<TFAboud>(m_connection);
    FAboud = window.get();
    showModal(FAboud);
    FAboud = nullptr;
}
