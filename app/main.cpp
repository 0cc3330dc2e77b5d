#include "CatalogueLocation.h"
#include "CatalogueSchema.h"
#include "DefaultErrorHandler.h"
#include "SingleInstance.h"
#include "Unit2.h"
#include "WindowFonts.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    if (SingleInstance::acquire(QStringLiteral("hkOneCopy")) == SingleInstance::Outcome::HeldElsewhere)
        return 0;

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmora网站管理软件"));
    installWindowFonts();

    CatalogueLocation::Location catalogue;
    DefaultErrorHandler::run([&] {
        catalogue = CatalogueLocation::parse(CatalogueLocation::deploymentValue());
        if (catalogue.embedded)
            CatalogueSchema::ensureEmbeddedCatalogue(catalogue.settings.databaseName);
    });

    TFMain FMain(catalogue.settings);
    FMain.show();
    application.exec();
    return 0;
}
