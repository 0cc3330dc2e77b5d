// A test build of libUserINFO: HardDriveID() returns the text of the
// environment variable VELMORA_TEST_HARDDRIVEID (read at every call), or a
// fixed identifier when it is unset. Loaded in place of the real library
// through LD_LIBRARY_PATH, as one would swap the library on a machine.
#include <cstdlib>

extern "C" const char* HardDriveID()
{
    const char* id = std::getenv("VELMORA_TEST_HARDDRIVEID");
    return id ? id : "TEST-DRIVE-0001";
}
