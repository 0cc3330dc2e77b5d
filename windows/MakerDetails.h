#pragma once

#include <QString>

// The maker's contact details and the start page's placeholder links: the
// texts of the program's own that no catalogue row supplies.
namespace MakerDetails {

inline const QString kCompanyName = QStringLiteral("Velmora软件工作室");
inline const QString kWebAddress = QStringLiteral("http://www.velmora.cn");
inline const QString kSupportEmail = QStringLiteral("support@velmora.cn");
inline const QString kSupportQQ = QStringLiteral("800012345");

// Shown in a start-page link until, or instead of, a catalogue row. A site
// slot without a row does nothing when clicked; an advert slot points to
// the maker's advertising page.
inline const QString kSitePlaceholderCaption = QStringLiteral("虚位以待");
inline const QString kSitePlaceholderAddress = QString();
inline const QString kAdvertPlaceholderCaption = QStringLiteral("广告位招租");
inline const QString kAdvertPlaceholderAddress = QStringLiteral("http://www.velmora.cn/ad");

// The download link of the About window before a newer version is announced.
inline const QString kDownloadPlaceholderCaption = QStringLiteral("下载新版本");
inline const QString kDownloadPlaceholderAddress = QStringLiteral("http://www.velmora.cn/download");

} // namespace MakerDetails
