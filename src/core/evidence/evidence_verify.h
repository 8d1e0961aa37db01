// Checking an evidence package: every file's bytes against the package's own sha256sum list.
#pragma once

#include <QString>
#include <QStringList>

namespace card {

struct VerifyOutcome {
    enum class Status { Intact, Changed, NotPackage };
    Status status = Status::NotPackage;
    QStringList changed; // listed, but its bytes do not match (or cannot be read back)
    QStringList missing; // listed, not in the package
    QStringList added;   // in the package, not listed
};

// Reads the ZIP file at path once and recomputes every file's SHA-256.
VerifyOutcome verifyPackage(const QString& path);

// What --verify prints: "完整", or one line for each changed, missing or added file, or the
// line that says the file is no package.
QString verifyLines(const VerifyOutcome& outcome, const QString& path);

// --verify's exit status: 0 intact, 1 changed, 2 not a package.
int verifyExitStatus(const VerifyOutcome& outcome);

} // namespace card
