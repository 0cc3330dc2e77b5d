#include "Unit2.h"
#include "ui_Unit2.h"

#include "AddressForms.h"
#include "DefaultErrorHandler.h"
#include "Dialect.h"
#include "MachineIdentity.h"
#include "MakerDetails.h"
#include "MessageBoxes.h"
#include "ModalWindow.h"
#include "StatusPanels.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TDataSource.h"
#include "Trim.h"
#include "TsuiURLLabel.h"
#include "UAboud.h"
#include "Unit1.h"
#include "WindowPlacement.h"

#include <QDateTime>
#include <QKeyEvent>
#include <limits>

QString MachineID;

namespace {

QDateTime now()
{
    return QDateTime::currentDateTime();
}

} // namespace

TFMain::TFMain(const ConnectionSettings& catalogue, QWidget* parent)
    : QMainWindow(parent),
      m_ui(std::make_unique<Ui::TFMain>()),
      ADOConnection1(std::make_unique<TADOConnection>(catalogue)),
      ADOQuery1(new TADOQuery(*ADOConnection1, QStringLiteral("ADOQuery1"), 30, this)),
      ADOQuery2(new TADOQuery(*ADOConnection1, QStringLiteral("ADOQuery2"), 30, this)),
      ADOQuery3(new TADOQuery(*ADOConnection1, QStringLiteral("ADOQuery3"), 30, this)),
      ADOQuery4(new TADOQuery(*ADOConnection1, QStringLiteral("ADOQuery4"), 30, this)),
      ADOQuery5(new TADOQuery(*ADOConnection1, QStringLiteral("ADOQuery5"), 30, this)),
      ADOQuery6(new TADOQuery(*ADOConnection1, QStringLiteral("ADOQuery6"), 30, this))
{
    m_ui->setupUi(this);
    m_ui->N1->actions().constFirst()->setObjectName(QStringLiteral("N2"));
    m_ui->centralwidget->setFixedSize(687, 435);
    m_ui->StatusBar1->setSizeGripEnabled(true);
    m_statusPanels = std::make_unique<StatusPanels>(m_ui->StatusBar1, QList<int>{180, 300, 180});

    DataSource1 = new TDataSource(*ADOQuery1,
                                  {{QStringLiteral("UserNetName"), QStringLiteral("网站名称"), 87},
                                   {QStringLiteral("UserNetRuL"), QStringLiteral("网址"), 120}},
                                  this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->attach(m_ui->DBGrid1);

    for (TsuiURLLabel* link : links(1, 21)) {
        link->setText(MakerDetails::kSitePlaceholderCaption);
        link->setURL(MakerDetails::kSitePlaceholderAddress);
    }
    for (TsuiURLLabel* link : links(8, 12)) {
        link->setText(MakerDetails::kAdvertPlaceholderCaption);
        link->setURL(MakerDetails::kAdvertPlaceholderAddress);
    }

    // The entry fields set no length limit of their own.
    for (QLineEdit* edit : {m_ui->Edit1, m_ui->Edit2, m_ui->Edit3})
        edit->setMaxLength(std::numeric_limits<int>::max());

    m_ui->Edit2->installEventFilter(this);
    m_ui->Edit3->installEventFilter(this);
    m_ui->DBGrid1->viewport()->installEventFilter(this);
    DefaultErrorHandler::bind(m_ui->Button1, &QPushButton::clicked, this, &TFMain::Button1Click);
    DefaultErrorHandler::bind(m_ui->N3, &QAction::triggered, this, &TFMain::N3Click);
    DefaultErrorHandler::bind(m_ui->N6, &QAction::triggered, this, &TFMain::N6Click);
    DefaultErrorHandler::bind(m_ui->N7, &QAction::triggered, this, &TFMain::N7Click);

    installDialect(*ADOConnection1);
    DefaultErrorHandler::run([this] { ADOConnection1->open(); });
    DefaultErrorHandler::run([this] { FormCreate(); });
    m_ui->Edit1->setFocus();
}

TFMain::~TFMain()
{
    MachineID.clear();
}

QList<TsuiURLLabel*> TFMain::links(int first, int last) const
{
    QList<TsuiURLLabel*> result;
    for (int n = first; n <= last; ++n)
        result << findChild<TsuiURLLabel*>(QStringLiteral("suiURLLabel%1").arg(n));
    return result;
}

void TFMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    centreOnScreen(this);
    DefaultErrorHandler::run([this] { FormShow(); });
}

bool TFMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && watched == m_ui->Edit2)
        DefaultErrorHandler::run([this] { Edit2Enter(); });
    else if (event->type() == QEvent::FocusIn && watched == m_ui->Edit3)
        DefaultErrorHandler::run([this] { Edit3Enter(); });
    else if (event->type() == QEvent::KeyPress && (watched == m_ui->Edit2 || watched == m_ui->Edit3)) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        for (const QChar key : typed) {
            if (watched == m_ui->Edit2)
                DefaultErrorHandler::run([this, key] { Edit2KeyPress(key); });
            else
                DefaultErrorHandler::run([this, key] { Edit3KeyPress(key); });
        }
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == m_ui->DBGrid1->viewport())
        DefaultErrorHandler::run([this] { DBGrid1DblClick(); });
    return QMainWindow::eventFilter(watched, event); // the key goes on to the field unchanged
}

// ---- start-up ------------------------------------------------------------

void TFMain::FormCreate()
{
    MachineID = ReadMachineID();
}

void TFMain::FormShow()
{
    fillPanel(ADOQuery4, QStringLiteral("select Top 7 * from Net order by UserCount Desc"),
              QStringLiteral("NetName"), QStringLiteral("NetAddress"), links(1, 7));
    fillPanel(ADOQuery5, QStringLiteral("select Top 9 * from Net order by SumCount Desc"),
              QStringLiteral("NetName"), QStringLiteral("NetAddress"), links(13, 21));
    fillPanel(ADOQuery6, QStringLiteral("select Top 5 * from GG"),
              QStringLiteral("GGName"), QStringLiteral("GGURL"), links(8, 12));

    ADOQuery5->setStatement({QStringLiteral("select * from LoadInfo where UseID=:UseID")});
    ADOQuery5->setParameter(QStringLiteral("UseID"), MachineID);
    ADOQuery5->open();
    const int startRecords = ADOQuery5->recordCount();
    if (startRecords == 0) {
        ADOQuery6->setStatement({QStringLiteral("insert into LoadInfo(UseID,LoadTime) values(:UseID,:LoadTime)")});
        ADOQuery6->setParameter(QStringLiteral("UseID"), MachineID);
        ADOQuery6->setParameter(QStringLiteral("LoadTime"), now());
        ADOQuery6->execute();
    }
    if (startRecords == 1) {
        ADOQuery6->setStatement({QStringLiteral("Update LoadInfo set LoadTime=:LoadTime where UseID=:UseID")});
        ADOQuery6->setParameter(QStringLiteral("UseID"), MachineID);
        ADOQuery6->setParameter(QStringLiteral("LoadTime"), now());
        ADOQuery6->execute();
    }

    ADOQuery6->setStatement({QStringLiteral("select *from LoadInfo")});
    ADOQuery6->open();
    const int userCount = ADOQuery6->recordCount();

    m_statusPanels->setText(0, QStringLiteral("   欢迎您使用本软件！"));
    m_statusPanels->setText(1, QStringLiteral("   您是使用本软件的第") + QString::number(userCount) + QStringLiteral("人"));
    m_statusPanels->setText(2, QStringLiteral("   客户QQ：") + MakerDetails::kSupportQQ);

    listLoad();
}

void TFMain::fillPanel(TADOQuery* query, const QString& statement, const QString& captionField,
                       const QString& addressField, const QList<TsuiURLLabel*>& panelLinks)
{
    query->setStatement({statement});
    query->open();
    query->first();
    int i = 0;
    while (!query->eof()) {
        const QString caption = trimLow(query->fieldAsText(captionField));
        const QString address = trimLow(query->fieldAsText(addressField));
        if (i < panelLinks.size()) {
            panelLinks.at(i)->setText(caption);
            panelLinks.at(i)->setURL(address);
        }
        ++i;
        query->next();
    }
}

// ---- the machine's site list ------------------------------------------------

void TFMain::listLoad()
{
    ADOQuery1->setStatement({QStringLiteral("select * from UsersM where UserID=:UserID order by UseCount Desc")});
    ADOQuery1->setParameter(QStringLiteral("UserID"), MachineID);
    ADOQuery1->open();
}

void TFMain::listReload()
{
    ADOQuery1->setStatement({QStringLiteral("select * from UsersM where UserID=:UserID")});
    ADOQuery1->setParameter(QStringLiteral("UserID"), MachineID);
    ADOQuery1->open();
}

// ---- adding a site ------------------------------------------------------------

void TFMain::Edit2Enter()
{
    if (trimLow(m_ui->Edit1->text()).isEmpty())
        m_ui->Edit1->setFocus();
}

void TFMain::Edit3Enter()
{
    if (trimLow(m_ui->Edit1->text()).isEmpty())
        m_ui->Edit1->setFocus();
    else if (trimLow(m_ui->Edit2->text()).isEmpty())
        m_ui->Edit2->setFocus();
}

void TFMain::Edit2KeyPress(QChar key)
{
    if (key == QChar(13) && !trimLow(m_ui->Edit2->text()).isEmpty())
        m_ui->Edit3->setFocus();
}

void TFMain::Edit3KeyPress(QChar key)
{
    if (key != QChar(13))
        return;
    const QString address = trimLow(m_ui->Edit2->text());
    if (address.isEmpty())
        return;

    ADOQuery2->setStatement({QStringLiteral("select * from UsersM where UserID=:UserID and UserNetRuL=:UserNetRuL")});
    ADOQuery2->setParameter(QStringLiteral("UserID"), MachineID);
    ADOQuery2->setParameter(QStringLiteral("UserNetRuL"), address);
    ADOQuery2->open();
    if (ADOQuery2->recordCount() != 0)
        return;

    QString remark = m_ui->CheckBox1->isChecked() ? QStringLiteral("允许推荐") : QStringLiteral("不推荐");
    const QString alternate = trimLow(MakeAlternateForm(address));

    ADOQuery3->setStatement({QStringLiteral("select * from Net where NetAddress=:NetAddress or NetAddress=:NetAddress1")});
    ADOQuery3->setParameter(QStringLiteral("Netaddress"), address);
    ADOQuery3->setParameter(QStringLiteral("Netaddress1"), alternate);
    ADOQuery3->open();
    const bool knownToCatalogue = ADOQuery3->recordCount() > 0;
    if (knownToCatalogue)
        remark = QStringLiteral("软件网址库");

    // The row is written before the catalogue counts it, so a failed insert
    // leaves no addition counted.
    ADOQuery2->setStatement({QStringLiteral("insert into UsersM(UserID,UserName,UserNetName,UserNetRuL,Calling,Writetime,Remark)"),
                             QStringLiteral("values(:UserID,:UserName,:UserNetName,:UserNetRuL,:Calling,:Writetime,:Remark)")});
    ADOQuery2->setParameter(QStringLiteral("UserID"), MachineID);
    ADOQuery2->setParameter(QStringLiteral("UserName"), QString(""));
    ADOQuery2->setParameter(QStringLiteral("UserNetName"), trimLow(m_ui->Edit1->text()));
    ADOQuery2->setParameter(QStringLiteral("UserNetRuL"), address);
    ADOQuery2->setParameter(QStringLiteral("Calling"), trimLow(m_ui->Edit3->text()));
    ADOQuery2->setParameter(QStringLiteral("Writetime"), now());
    ADOQuery2->setParameter(QStringLiteral("Remark"), remark);
    ADOQuery2->execute();

    if (knownToCatalogue) {
        ADOQuery3->setStatement({QStringLiteral("update Net set UserCount=UserCount+:UserCount where NetAddress=:NetAddress or NetAddress=:NetAddress1")});
        ADOQuery3->setParameter(QStringLiteral("UserCount"), 1);
        ADOQuery3->setParameter(QStringLiteral("Netaddress"), address);
        ADOQuery3->setParameter(QStringLiteral("Netaddress1"), alternate);
        ADOQuery3->execute();
    }

    listReload();

    m_ui->Edit1->setText(QString());
    m_ui->Edit2->setText(QString());
    m_ui->Edit3->setText(QString());
    m_ui->Edit1->setFocus();
}

// ---- opening a site ---------------------------------------------------------------

void TFMain::DBGrid1DblClick()
{
    if (ADOQuery1->isEmpty())
        return;
    const QString stored = trimLow(ADOQuery1->fieldAsText(QStringLiteral("UserNetRuL")));
    const QString launchForm = MakeLaunchForm(stored);
    OpenInBrowser(launchForm);
    const QString alternate = MakeAlternateForm(launchForm);

    ADOQuery2->setStatement({QStringLiteral("update UsersM set UseCount=UseCount+:UseCount,Writetime=:Writetime where UserID=:UserID and UserNetRuL=:UserNetRuL")});
    ADOQuery2->setParameter(QStringLiteral("UseCount"), 1);
    ADOQuery2->setParameter(QStringLiteral("UserID"), MachineID);
    ADOQuery2->setParameter(QStringLiteral("UserNetRuL"), trimLow(launchForm));
    ADOQuery2->setParameter(QStringLiteral("Writetime"), now());
    ADOQuery2->execute();

    ADOQuery2->setStatement({QStringLiteral("update Net set SumCount=SumCount+:SumCount,WriteTime=:WriteTime where NetAddress=:NetAddress or NetAddress=:NetAddress1")});
    ADOQuery2->setParameter(QStringLiteral("SumCount"), 1);
    ADOQuery2->setParameter(QStringLiteral("Writetime"), now());
    ADOQuery2->setParameter(QStringLiteral("Netaddress"), trimLow(launchForm));
    ADOQuery2->setParameter(QStringLiteral("Netaddress1"), trimLow(alternate));
    ADOQuery2->execute();
}

// ---- the address tidy-up ------------------------------------------------------------

void TFMain::Button1Click()
{
    ADOQuery6->setStatement({QStringLiteral("select * from net order by NetID Desc")});
    ADOQuery6->open();
    ADOQuery6->first();
    while (!ADOQuery6->eof()) {
        const qlonglong netId = ADOQuery6->fieldAsInteger(QStringLiteral("NetID"));
        const QString address = trimLow(ADOQuery6->fieldAsText(QStringLiteral("NetAddress")));
        if (address.endsWith(QLatin1Char('/'))) {
            const QString shortened = address.chopped(1);
            ADOQuery5->setStatement({QStringLiteral("Update net set NetAddress=:NetAddress where NetID=:NetID")});
            ADOQuery5->setParameter(QStringLiteral("NetAddress"), trimLow(shortened));
            ADOQuery5->setParameter(QStringLiteral("NetID"), netId);
            ADOQuery5->execute();
        }
        ADOQuery6->next();
    }
    MessageBoxes::showMessage(QStringLiteral("修改成功!"));
}

// ---- menus ----------------------------------------------------------------------------

void TFMain::N3Click()
{
    close();
}

void TFMain::N7Click()
{
    auto window = std::make_unique<TFKorvath>(*ADOConnection1);
    FKorvath = window.get();
    showModal(FKorvath);
    FKorvath = nullptr;
}

void TFMain::N6Click()
{
    auto window = std::make_unique<TFAboud>(*ADOConnection1);
    FAboud = window.get();
    showModal(FAboud);
    FAboud = nullptr;
}
