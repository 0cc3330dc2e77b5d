#pragma once

// libUserINFO: the identifier of the machine's hard drive, as a string of at
// most 127 bytes that belongs to the library. The same machine gets the same
// text on every start.
extern "C" const char* HardDriveID();
