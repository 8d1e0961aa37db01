#include "tool_output.h"

#include <QFile>

#include <cstdio>

namespace card::tools {

namespace {

const char* g_toolName = "tool";

} // namespace

void setToolName(const char* name)
{
    g_toolName = name;
}

void fail(const QString& message)
{
    std::fprintf(stderr, "%s: %s\n", g_toolName, qPrintable(message));
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

} // namespace card::tools
