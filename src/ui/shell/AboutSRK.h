#pragma once

#include <QDialog>

namespace srk {

class CompileDate;

// "About": the program picture, name and version. "&Return to Sonorika Pro" closes it.
class AboutSRK : public QDialog {
    Q_OBJECT
public:
    explicit AboutSRK(QWidget* parent = nullptr);

    // Opens "Compile Information" over this window (window-modal, without waiting) and returns it; it
    // deletes itself when closed.
    CompileDate* showCompileInformation();
};

}  // namespace srk
