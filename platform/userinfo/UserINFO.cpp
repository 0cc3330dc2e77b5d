#include "UserINFO.h"

#include <fstream>
#include <limits.h>
#include <stdlib.h>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

std::string firstLineOf(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    if (in)
        std::getline(in, line);
    while (!line.empty() && static_cast<unsigned char>(line.back()) <= 32)
        line.pop_back();
    std::size_t start = 0;
    while (start < line.size() && static_cast<unsigned char>(line[start]) <= 32)
        ++start;
    return line.substr(start);
}

bool exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// The serial number of the disk that holds the root file system, from sysfs.
std::string rootDiskSerial()
{
    struct stat root;
    if (::stat("/", &root) != 0 || major(root.st_dev) == 0)
        return {};
    const std::string link = "/sys/dev/block/" + std::to_string(major(root.st_dev)) + ":" +
                             std::to_string(minor(root.st_dev));
    char resolved[PATH_MAX];
    if (!::realpath(link.c_str(), resolved))
        return {};
    std::string disk = resolved;
    if (exists(disk + "/partition"))
        disk = disk.substr(0, disk.rfind('/'));
    for (const char* candidate : {"/serial", "/device/serial", "/wwid", "/device/wwid"}) {
        const std::string serial = firstLineOf(disk + candidate);
        if (!serial.empty())
            return serial;
    }
    return {};
}

std::string computeIdentifier()
{
    std::string id = rootDiskSerial();
    if (id.empty())
        id = firstLineOf("/etc/machine-id");
    if (id.empty())
        id = firstLineOf("/var/lib/dbus/machine-id");
    if (id.size() > 127)
        id.resize(127);
    return id;
}

} // namespace

extern "C" const char* HardDriveID()
{
    static const std::string identifier = computeIdentifier();
    return identifier.c_str();
}
