#pragma once

#include <QDialog>
#include <QVector>

class QButtonGroup;
class QLineEdit;
class QPushButton;

namespace srk {
class WindowPlacer;
}

namespace srk {

struct ProgramContext;
class WindowRegistry;

// "CD Player Preferences": how often the player checks the drive, and which drive or disc image it
// plays. Ok writes both to the preferences file; Cancel reads every preference back from it.
class CDSetup : public QDialog {
    Q_OBJECT
public:
    static const QString Procedure; // "CDSetup"
    // The intervals offered, in hundredths of a second; 0 is "Do Not Check".
    static const QVector<int> Intervals;

    CDSetup(ProgramContext& context, QWidget* parent = nullptr);

    // Runs the window modally; true when it closed with Ok.
    static bool run(ProgramContext& context, QWidget* parent);
    static void registerWith(WindowRegistry& windows);

    // Chooses an interval as a click on its option would (false when it is not offered).
    bool choose(int interval);
    // The interval chosen now; -1 when none is.
    int chosen() const;
    QLineEdit* deviceEdit() const { return m_device; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

    void accept() override;
    void reject() override;
    void done(int result) override;

private:
    void browseImage();

    ProgramContext& m_context;
    QButtonGroup* m_group = nullptr;
    QLineEdit* m_device = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    WindowPlacer* m_placer = nullptr;
};

}  // namespace srk
