#include "core/evidence/case_package.h"

#include "core/evidence/evidence_texts.h"
#include "core/platform/file_exists.h"
#include "core/records/record_file.h"

namespace card {

namespace {

bool hasDayFile(const Swipe& swipe)
{
    return !swipe.recordsFolder.isEmpty() &&
           fileExists(recordFilePath(swipe.recordsFolder, swipe.day));
}

// The swipe at its own site, or at the fallback site where its own has lost its day.
Swipe siteSwipe(const CaseSwipe& added, const Swipe& fallback)
{
    Swipe swipe = swipeOfCase(added);
    if (fallback.recordsFolder.isEmpty() || hasDayFile(swipe))
        return swipe;
    swipe.recordsFolder = fallback.recordsFolder;
    swipe.photoFolder = fallback.photoFolder;
    swipe.parameterFile = fallback.parameterFile;
    return swipe;
}

} // namespace

Swipe swipeOfCase(const CaseSwipe& swipe)
{
    return {swipe.time, swipe.card,          swipe.name,        swipe.direction,
            swipe.day,  swipe.recordsFolder, swipe.photoFolder, swipe.sitePath};
}

PackageRequest casePackageRequest(const CaseSummary& summary, const QList<CaseSwipe>& swipes,
                                  const Swipe& fallback)
{
    PackageRequest request;
    request.caseName = summary.name;
    request.origin = evidence_texts::caseOrigin(summary.name);
    for (const CaseSwipe& added : swipes) {
        const Swipe swipe = siteSwipe(added, fallback);
        const QString caption = swipe.parameterFile == added.sitePath
                                    ? added.siteCaption
                                    : siteCaptionOf(swipe.parameterFile);
        request.swipes.append({swipe, caption, added.note});
    }
    return request;
}

} // namespace card
