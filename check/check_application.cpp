// The application's names and its numbers' locale.
#include "check/check_application.h"

#include "ui/compiled_bitmap.h"
#include "ui/picture.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>

#include <clocale>

namespace tarvix {

extern const CompiledBitmap kCheckIconBitmap;

void prepareCheckApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("Tarvix"));
    QCoreApplication::setApplicationName(
        QString::fromLatin1(kCheckApplicationName.data(), kCheckApplicationName.size()));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Tarvix Antenna Check"));
    QGuiApplication::setDesktopFileName(
        QString::fromLatin1(kCheckDesktopFileName.data(), kCheckDesktopFileName.size()));
    // The application took the user's locale for the whole process.
    std::setlocale(LC_NUMERIC, "C");
}

QIcon checkIcon() {
    QIcon icon;
    icon.addPixmap(compiledPixmap(kCheckIconBitmap));
    return icon;
}

} // namespace tarvix
