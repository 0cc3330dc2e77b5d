#pragma once

#include <QString>

// The machine identifier: the text HardDriveID() of libUserINFO returns,
// at most 127 bytes of it, with every leading and trailing byte of value 32
// or less removed.
QString ReadMachineID();
