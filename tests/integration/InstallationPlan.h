#pragma once

// The work one installation does in the many-installations test, round by
// round, shared by the driver that does it and the test that checks the
// catalogue afterwards. Machine m in round r works on site target(m, r) of
// each of the two categories of the group "综合":
//   1. main window: adds the portal site target (rounds below kSites), or a
//      site of its own that the catalogue does not know (later rounds);
//   2. main window: visits the portal site target from its list;
//   3. library: clicks the category "软件", and "门户" too in even rounds;
//   4. library: visits the tool site target;
//   5. library: copies the tool site target into the machine's list (a
//      copy already made changes nothing).
#include <QString>

namespace InstallationPlan {

constexpr int kSites = 8;
constexpr int kOperationsPerRound = 5;

inline int target(int machine, int round)
{
    return (machine + round) % kSites;
}
inline bool addsPortal(int round)
{
    return round < kSites;
}
inline bool clicksPortalCategory(int round)
{
    return round % 2 == 0;
}
inline QString machineId(int machine)
{
    return QStringLiteral("MACHINE-%1").arg(machine, 2, 10, QLatin1Char('0'));
}
inline QString portalName(int k)
{
    return QStringLiteral("门户%1").arg(k);
}
inline QString portalAddress(int k)
{
    return QStringLiteral("http://www.portal%1.cn").arg(k);
}
inline QString toolName(int k)
{
    return QStringLiteral("软件%1").arg(k);
}
inline QString toolAddress(int k)
{
    return QStringLiteral("http://www.tool%1.cn").arg(k);
}
inline QString ownAddress(int machine, int round)
{
    return QStringLiteral("www.m%1-r%2.example").arg(machine).arg(round);
}

} // namespace InstallationPlan
