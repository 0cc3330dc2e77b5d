#include "MachineIdentity.h"

#include "Trim.h"
#include "userinfo/UserINFO.h"

#include <cstring>

QString ReadMachineID()
{
    char buffer[128];
    std::memset(buffer, 0, sizeof buffer);
    if (const char* identifier = HardDriveID())
        std::memcpy(buffer, identifier, strnlen(identifier, sizeof buffer - 1));
    const QByteArray bytes(buffer, qsizetype(strnlen(buffer, sizeof buffer)));
    return QString::fromUtf8(trimLowBytes(bytes));
}
