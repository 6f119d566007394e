#pragma once
// The program's command line as the product family's launcher hands it over:
// everything after the executable's name. Empty for an ordinary start.

#include <QString>
#include <QStringList>

namespace corvane {

// The arguments after the executable's name, joined by one blank each, so a
// launcher value that contains a blank comes back whole.
QString CommandLineOf(const QStringList& arguments);

void SetProgramCommandLine(const QString& line);
QString ProgramCommandLine();

}  // namespace corvane
