#pragma once

#include "TADOConnection.h"

#include <QString>

// Generated catalogues of a given size for the benchmark.
namespace BenchCatalogue {

struct Scale
{
    int netRows;
    int loadInfoRows;
};

// The category that holds a tenth of Net, the largest one.
inline const QString kLargestGroup = QStringLiteral("综合门户");
inline const QString kLargestCategory = QStringLiteral("新闻资讯");

// Replaces every row of every table with generated ones: Net with
// scale.netRows sites (a tenth in the largest category, every third address
// ending in "/"), LoadInfo with scale.loadInfoRows start-up records of other
// machines, a small UsersM list for machineId, some adverts and the tree.
// The connection needs the right to empty and fill every table.
void fill(const ConnectionSettings& owner, const Scale& scale, const QString& machineId);

// Puts back the trailing "/" that the tidy-up removed from every third address.
void restoreTrailingSlashes(const ConnectionSettings& owner);

} // namespace BenchCatalogue
