// The report inside an evidence package: what was packed, from where, by whom and when, each
// file with its size and SHA-256, then each swipe's evidence sheet.
#pragma once

#include "core/evidence/evidence_package.h"

#include <QByteArray>

namespace card {

// The report as PDF/A-1b bytes. Reads and decodes the swipes' photos: call it off the interface
// thread.
QByteArray evidencePackagePdf(const PackageFacts& facts);

} // namespace card
