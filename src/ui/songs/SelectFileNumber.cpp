#include "ui/songs/SelectFileNumber.h"

#include "ui/services/ModalWindows.h"
#include "ui/services/WindowSize.h"
#include "ui/songs/BrowseSongs.h"

#include <QKeyEvent>
#include <QVBoxLayout>

namespace srk {

const QString SelectFileNumber::Procedure = QStringLiteral("SelectFileNumber");

WindowResponse SelectFileNumber::select(ProgramContext& context, Record& song, QWidget* parent,
                                        WindowRequest request) {
    ModalWindow<SelectFileNumber> dialog(context, request, parent);
    if (!dialog.exec().accepted())
        return WindowResponse::Cancelled;
    song = dialog->chosen();
    return WindowResponse::Completed;
}

SelectFileNumber::SelectFileNumber(ProgramContext& context, WindowRequest request, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("SELECTFILENUMBER"));
    m_browse = new BrowseSongs(context, Procedure, request == WindowRequest::Select, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browse);
    connect(m_browse, &BrowseSongs::songChosen, this, [this](const Record& song) {
        m_chosen = song;
        accept();
    });
    connect(m_browse, &BrowseSongs::closeRequested, this, &QDialog::reject);
    fitWindow(this, m_browse->minimumSizeHint());
}

SelectFileNumber::~SelectFileNumber() {
    m_browse->release();
}

void SelectFileNumber::done(int result) {
    m_browse->release();
    QDialog::done(result);
}

void SelectFileNumber::keyPressEvent(QKeyEvent* event) {
    // Enter belongs to the list (it selects there); a dialog would take it for its default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace srk
