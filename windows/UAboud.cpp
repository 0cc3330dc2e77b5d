#include "UAboud.h"
#include "ui_UAboud.h"

#include "DefaultErrorHandler.h"
#include "MakerDetails.h"
#include "StatusPanels.h"
#include "TADOQuery.h"
#include "Trim.h"
#include "TsuiURLLabel.h"
#include "WindowPlacement.h"

#include <QLocale>
#include <cmath>

TFAboud* FAboud = nullptr;

QString formatVersion(double version)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    // Rounded as its decimal text reads: 1.15 is held as 1.1499999999999999
    // and still shows as 1.2. Reading the scaled value back through fifteen
    // significant digits drops the binary residue before rounding.
    const double tenths = std::round(QString::number(version * 10.0, 'g', 15).toDouble());
    const double rounded = tenths / 10.0;
    return locale.toString(rounded == 0.0 ? 0.0 : rounded, 'f', 1);
}

TFAboud::TFAboud(TADOConnection& connection, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::TFAboud>()),
      ADOQuery1(new TADOQuery(connection, QStringLiteral("ADOQuery1"), 45, this))
{
    m_ui->setupUi(this);
    setFixedSize(483, 274);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    m_ui->StatusBar1->setSizeGripEnabled(false);
    StatusPanels(m_ui->StatusBar1, {180, 180, 180});

    m_ui->Label1->setText(m_ui->Label1->text() + MakerDetails::kCompanyName);
    m_ui->suiURLLabel1->setText(MakerDetails::kWebAddress);
    m_ui->suiURLLabel1->setURL(MakerDetails::kWebAddress);
    m_ui->suiURLLabel1->adjustSize();
    m_ui->Label3->setText(m_ui->Label3->text() + MakerDetails::kSupportEmail);
    m_ui->Label4->setText(m_ui->Label4->text() + MakerDetails::kSupportQQ);
    m_ui->suiURLLabel2->setText(MakerDetails::kDownloadPlaceholderCaption);
    m_ui->suiURLLabel2->setURL(MakerDetails::kDownloadPlaceholderAddress);
    m_ui->suiURLLabel2->adjustSize();
}

TFAboud::~TFAboud() = default;

void TFAboud::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    centreOnScreen(this);
    DefaultErrorHandler::run([this] { FormShow(); });
}

void TFAboud::FormShow()
{
    ADOQuery1->setStatement({QStringLiteral("select * from Edition")});
    ADOQuery1->open();
    const double current = ADOQuery1->fieldAsFloat(QStringLiteral("Edition"));
    const double newest = ADOQuery1->fieldAsFloat(QStringLiteral("MaxEdition"));
    m_ui->Label6->setText(formatVersion(current));
    if (newest > current) {
        m_ui->Label7->setVisible(true);
        m_ui->Label8->setVisible(true);
        m_ui->Label8->setText(formatVersion(newest));
        m_ui->Label9->setVisible(true);
        m_ui->suiURLLabel2->setVisible(true);
        const QString download = trimLow(ADOQuery1->fieldAsText(QStringLiteral("Down")));
        m_ui->suiURLLabel2->setText(download);
        m_ui->suiURLLabel2->setURL(download);
        m_ui->suiURLLabel2->adjustSize();
    } else {
        m_ui->Label7->setVisible(false);
        m_ui->Label8->setVisible(false);
        m_ui->Label9->setVisible(false);
        m_ui->suiURLLabel2->setVisible(false);
    }
}
