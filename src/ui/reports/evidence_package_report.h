// The report inside an evidence package: what was packed, from where, by whom and when, each
// file with its size and SHA-256, then each swipe's evidence sheet.
#pragma once

#include "core/evidence/evidence_package.h"

class QIODevice;

namespace card {

// Writes the report into pdf as PDF/A-1b. Reads and decodes the swipes' photos: call it off the
// interface thread.
bool evidencePackagePdf(const PackageFacts& facts, QIODevice& pdf);

} // namespace card
