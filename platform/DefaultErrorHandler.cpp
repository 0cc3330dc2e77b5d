#include "DefaultErrorHandler.h"

#include "Failure.h"
#include "MessageBoxes.h"

namespace DefaultErrorHandler {

void showException(const std::exception& error)
{
    if (const auto* failure = dynamic_cast<const Failure*>(&error))
        MessageBoxes::showError(failure->text());
    else
        MessageBoxes::showError(QString::fromLocal8Bit(error.what()));
}

void showUnknownException()
{
    MessageBoxes::showError(QStringLiteral("Unknown error"));
}

} // namespace DefaultErrorHandler
