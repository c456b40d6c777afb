#pragma once

// Reports as printed: run sonorika-cli into a PDF and read it back with pdftotext.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

struct ProcessRun {
    int exitCode = -1;
    QString out, err;
};

inline ProcessRun process(const QString& program, const QStringList& args, const QProcessEnvironment& env = {}) {
    QProcess p;
    if (!env.isEmpty())
        p.setProcessEnvironment(env);
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(120000)) << program.toStdString();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

inline bool havePdfToText() { return process(QStringLiteral("pdftotext"), {QStringLiteral("-v")}).exitCode == 0; }

// The PDF's text laid out as on paper (pdftotext -layout).
inline QString pdfLayoutText(const QString& pdf) {
    const ProcessRun text = process(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_EQ(text.exitCode, 0) << text.err.toStdString();
    return text.out;
}
