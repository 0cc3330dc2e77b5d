// Prints the machine identifier as the program reads it.
#include "MachineIdentity.h"

#include <cstdio>

int main()
{
    std::fputs(ReadMachineID().toUtf8().constData(), stdout);
    return 0;
}
