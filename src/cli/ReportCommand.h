#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <memory>

// The application object of the command-line program: a windowless GUI application when the report
// command needs fonts and painting, a plain one otherwise.
std::unique_ptr<QCoreApplication> makeCliApplication(int& argc, char** argv);

// "report MEMBER --pdf OUT.pdf [options]" and "report --list".
int commandReport(const QString& dataFolder, const QStringList& args);
