// The system's reason for a failed file operation, said in Chinese.
#pragma once

#include <QString>

namespace card {

// The reason for the system error code: not found, no permission, read-only, disk full, or any
// other with its code.
QString systemReasonText(int code);

// The same for a reason as the file classes word it (the system's English words): the code is
// found again from those words. Words of no known code are kept as they are.
QString systemReasonText(const QString& systemWords);

} // namespace card
