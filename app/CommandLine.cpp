#include "app/CommandLine.h"

namespace corvane {

namespace {
QString g_commandLine;
}

QString CommandLineOf(const QStringList& arguments) { return arguments.mid(1).join(QLatin1Char(' ')); }

void SetProgramCommandLine(const QString& line) { g_commandLine = line; }

QString ProgramCommandLine() { return g_commandLine; }

}  // namespace corvane
