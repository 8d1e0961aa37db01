// The evidence package of a whole case: each swipe read again at the site it was added from.
#pragma once

#include "core/cases/case_records.h"
#include "core/evidence/evidence_package.h"
#include "core/records/swipe.h"

#include <QList>

namespace card {

// The swipe as the windows take it, at the site it was added from.
Swipe swipeOfCase(const CaseSwipe& swipe);

// The case's swipes with their notes, for writeEvidencePackage. A swipe whose own site has no
// day file for it any more (the site moved, or it was added before the store kept its folders)
// is read at fallback instead, when fallback names a site; who and when are left to the caller.
PackageRequest casePackageRequest(const CaseSummary& summary, const QList<CaseSwipe>& swipes,
                                  const Swipe& fallback = {});

} // namespace card
