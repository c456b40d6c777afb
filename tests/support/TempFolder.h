#pragma once

#include <QString>

// A fresh folder under the system temp folder, removed with everything in it when the test ends.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const QString& path() const { return m_path; }
    QString file(const QString& name) const;

private:
    QString m_path;
};
