#pragma once

#include <QDialog>

#include <memory>

class TADOConnection;
class TADOQuery;

namespace Ui {
class TFAboud;
}

// The About window: the maker's contact details and the version notice.
class TFAboud : public QDialog
{
    Q_OBJECT

public:
    // Runs its statement over the main window's connection.
    explicit TFAboud(TADOConnection& connection, QWidget* parent = nullptr);
    ~TFAboud() override;

    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TFAboud> m_ui;
    TADOQuery* ADOQuery1;
    bool m_shown = false;
};

// The About window while it is open.
extern TFAboud* FAboud;

// A version number as "0.0": one decimal, rounded half away from zero on its
// decimal digits (1.15 gives 1.2), the locale's decimal separator and no
// thousands separator.
QString formatVersion(double version);
