#pragma once

#include <QDialog>
#include <QLatin1StringView>

class QLabel;

namespace srk {

// "Compile Information": the program's name and the moments it was built, opened from the about window.
class CompileDate : public QDialog {
    Q_OBJECT
public:
    // The name its placement is kept under.
    static constexpr QLatin1StringView ProcedureName{"CompileDate"};
    static constexpr QLatin1StringView DatePicture{"@d17-"};
    static constexpr QLatin1StringView TimePicture{"@t4"};

    explicit CompileDate(QWidget* parent = nullptr);

    // "64-bit" on a 64-bit build.
    static QString pointerWidthText();
};

}  // namespace srk
