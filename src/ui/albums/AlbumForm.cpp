#include "ui/albums/AlbumForm.h"

#include "access/DittoCopy.h"
#include "access/Priming.h"
#include "access/RecordRoutines.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "text/PreferredDatePicture.h"
#include "text/ReleaseDate.h"
#include "ui/ProgramContext.h"
#include "ui/albums/AlbumSongList.h"
#include "ui/albums/UpdateAlbums.h"
#include "ui/cd/ReadCompactDisc.h"
#include "ui/services/CategoryDropList.h"
#include "ui/services/DittoKey.h"
#include "ui/services/FieldChecks.h"
#include "ui/services/FormUpdate.h"
#include "ui/services/MediaDropList.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/ReleaseDateEntry.h"
#include "ui/services/ScaledImage.h"
#include "ui/services/SoundPlayer.h"
#include "ui/services/WindowPlacer.h"
#include "ui/services/WindowSize.h"

#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace srk {

namespace {

// The form's own release-date picture when the preferences name none.
const QString kDatePicture = QStringLiteral("@d17b");

const QVector<int> kLineFields = {ALB::Artist,          ALB::Album,    ALB::FileNumber, ALB::AssociatedWavFile,
                                  ALB::AssociatedImage, ALB::Playlist, ALB::XCCD,       ALB::CDIdentifier};
const QVector<int> kMemoFields = {ALB::Notes, ALB::Recording, ALB::Performance};

QPushButton* formButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

AlbumForm::AlbumForm(ProgramContext& context, WindowRequest request, const Record& record, const Record& original,
                     QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_request(request),
      m_record(record.isValid() ? record : Record(albumTable())),
      m_original(original.isValid() ? original : m_record) {
    setObjectName(QStringLiteral("UPDATEALBUMS"));
    setWindowTitle(request == WindowRequest::Insert ? QStringLiteral("Adding an Album Record")
                                                    : QStringLiteral("Changing an Album Record"));
    m_ditto = new DittoKey(this, context.access->ditto(), UpdateAlbums::Procedure);
    m_placer = new WindowPlacer(this, context.positions, UpdateAlbums::Procedure);
    m_player = new SoundPlayer(this);
    connect(m_player, &SoundPlayer::failed, this, [this](const QString& file) {
        m_context.access->ask(
            {QStringLiteral("Error"), QStringLiteral("Could not play ") + file + QStringLiteral("."), ButtonOk, ButtonOk});
    });

    m_tabs = new QTabWidget(this);
    m_checks = new FieldChecks(m_tabs);
    m_tabs->addTab(buildGeneralTab(), QStringLiteral("General"));
    m_tabs->addTab(buildSongsTab(), QStringLiteral("Songs"));
    m_tabs->addTab(buildNotesTab(), QStringLiteral("Notes"));
    m_tabs->addTab(buildFilesTab(), QStringLiteral("Associated Files"));
    m_tabs->addTab(buildCompactDiscTab(), QStringLiteral("Compact Disc"));
    m_tabs->addTab(buildOtherTab(), QStringLiteral("Other"));

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setDefault(true);
    m_cancel = formButton(QStringLiteral("Cancel"), this);
    // Pressing a button must not first accept the field the cursor is in: OK checks every field itself.
    m_ok->setFocusPolicy(Qt::TabFocus);
    m_cancel->setFocusPolicy(Qt::TabFocus);
    connect(m_ok, &QPushButton::clicked, this, &AlbumForm::finish);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    // Takes no focus, so the value goes into the field the user is in.
    m_dittoButton = new QToolButton(this);
    m_dittoButton->setText(QStringLiteral("Ditto"));
    m_dittoButton->setToolTip(QStringLiteral("Recall this field from the album saved last (Ctrl+')"));
    m_dittoButton->setFocusPolicy(Qt::NoFocus);
    connect(m_dittoButton, &QToolButton::clicked, this, [this] { m_ditto->dittoFocusedField(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_dittoButton);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);

    showRecord();
    // The list reads the album from the screen, so it comes once every field shows its value.
    m_songs = new AlbumSongList(context, [this] { return currentAlbum(); }, m_songsPage);
    m_songsPage->layout()->addWidget(m_songs);
    fitWindow(this);
    m_tabs->setCurrentIndex(0);
    editor(ALB::Artist)->setFocus();
}

AlbumForm::~AlbumForm() = default;

QLineEdit* AlbumForm::lineEdit(int field) const {
    return qobject_cast<QLineEdit*>(m_editors.value(field));
}

QPlainTextEdit* AlbumForm::memoEdit(int field) const {
    return qobject_cast<QPlainTextEdit*>(m_editors.value(field));
}

QLineEdit* AlbumForm::addLine(int field, int width) {
    auto* edit = new QLineEdit(this);
    edit->setMaxLength(width);
    m_editors.insert(field, edit);
    m_ditto->bindField(edit, field);
    return edit;
}

QPlainTextEdit* AlbumForm::addMemo(int field) {
    auto* edit = new QPlainTextEdit(this);
    edit->setTabChangesFocus(true);
    m_editors.insert(field, edit);
    return edit;
}

QWidget* AlbumForm::buildGeneralTab() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    auto row = [form, page](const QString& prompt, QWidget* editor) {
        auto* label = new QLabel(prompt, page);
        label->setBuddy(editor);
        form->addRow(label, editor);
    };
    row(QStringLiteral("&Artist:"), addLine(ALB::Artist, 40));
    row(QStringLiteral("A&lbum:"), addLine(ALB::Album, 40));

    m_media = new MediaDropList(*m_context.access, this);
    m_editors.insert(ALB::Media, m_media);
    m_ditto->bindField(m_media, ALB::Media);
    connect(m_media->lineEdit(), &QLineEdit::editingFinished, this, [this] { acceptMedia(); });
    m_checks->checkOnEnter(m_media, [this] { return acceptMedia(); });
    row(QStringLiteral("&Media:"), m_media);

    m_category = new CategoryDropList(*m_context.access, this);
    connect(m_category->lineEdit(), &QLineEdit::editingFinished, this, [this] { acceptCategory(); });
    m_checks->checkOnEnter(m_category, [this] { return acceptCategory(); });
    row(QStringLiteral("&Category:"), m_category);

    row(QStringLiteral("&File Number:"), addLine(ALB::FileNumber, 20));

    m_released =
        new ReleaseDateEntry(applyPreferredDatePicture(kDatePicture, m_context.preferences.DateFormat), this);
    m_editors.insert(ALB::ReleaseDate, m_released);
    m_ditto->bindField(m_released, ALB::ReleaseDate,
                       [picture = m_released->picture()](const QVariant& v) { return formatReleaseDate(v, picture); });
    connect(m_released, &QLineEdit::editingFinished, this, [this] { acceptReleaseDate(); });
    m_checks->checkOnEnter(m_released, [this] { return acceptReleaseDate(); });
    row(QStringLiteral("&Release Date:"), m_released);
    return page;
}

QWidget* AlbumForm::buildSongsTab() {
    m_songsPage = new QWidget(this);
    new QVBoxLayout(m_songsPage);
    return m_songsPage;
}

QWidget* AlbumForm::buildNotesTab() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(addMemo(ALB::Notes));
    return page;
}

QWidget* AlbumForm::buildFilesTab() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);

    QLineEdit* wav = addLine(ALB::AssociatedWavFile, 128);
    m_play = formButton(QString(), page);
    m_play->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    m_play->setToolTip(QStringLiteral("Play"));
    connect(m_play, &QPushButton::clicked, this, &AlbumForm::playSound);
    // Only a named file can play.
    connect(wav, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_play->setEnabled(!text.trimmed().isEmpty()); });
    auto* wavRow = new QHBoxLayout;
    wavRow->addWidget(wav, 1);
    wavRow->addWidget(m_play);
    form->addRow(QStringLiteral("Associated WAV File:"), wavRow);

    QLineEdit* image = addLine(ALB::AssociatedImage, 128);
    m_chooseImage = formButton(QStringLiteral("..."), page);
    connect(m_chooseImage, &QPushButton::clicked, this, &AlbumForm::chooseImage);
    connect(image, &QLineEdit::editingFinished, this, [this, image] { m_image->showFile(image->text()); });
    auto* imageRow = new QHBoxLayout;
    imageRow->addWidget(image, 1);
    imageRow->addWidget(m_chooseImage);
    form->addRow(QStringLiteral("Associated Image:"), imageRow);
    m_image = new ScaledImage(page);
    form->addRow(QString(), m_image);

    form->addRow(QStringLiteral("Playlist:"), addLine(ALB::Playlist, 70));
    return page;
}

QWidget* AlbumForm::buildCompactDiscTab() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    QLineEdit* xccd = addLine(ALB::XCCD, 32);
    xccd->setToolTip(QStringLiteral("CDDB Number (Internet)"));
    form->addRow(QStringLiteral("XCCD Database #:"), xccd);

    QLineEdit* serial = addLine(ALB::CDIdentifier, 24);
    serial->setToolTip(QStringLiteral("CD Serial Number"));
    m_read = formButton(QStringLiteral("Read"), page);
    auto* serialRow = new QHBoxLayout;
    serialRow->addWidget(serial, 1);
    serialRow->addWidget(m_read);
    form->addRow(QStringLiteral("CD Serial #:"), serialRow);

    m_loadFromCd = formButton(QStringLiteral("Load Song Information from CD Player"), page);
    form->addRow(QString(), m_loadFromCd);
    connect(m_read, &QPushButton::clicked, this, &AlbumForm::readDiscIdentity);
    connect(m_loadFromCd, &QPushButton::clicked, this, &AlbumForm::loadSongsFromDisc);
    return page;
}

QWidget* AlbumForm::buildOtherTab() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("Recording:"), addMemo(ALB::Recording));
    form->addRow(QStringLiteral("Performance:"), addMemo(ALB::Performance));
    return page;
}

void AlbumForm::showRecord() {
    const Record& r = m_record;
    for (int field : kLineFields)
        lineEdit(field)->setText(r.text(field));
    for (int field : kMemoFields)
        memoEdit(field)->setPlainText(r.text(field));
    m_media->showMedia(r.text(ALB::Media));
    m_category->showCategory(r.number(ALB::CategoryID));
    m_released->showValue(r.number(ALB::ReleaseDate));
    m_play->setEnabled(!r.text(ALB::AssociatedWavFile).trimmed().isEmpty());
    m_image->showFile(r.text(ALB::AssociatedImage));
}

void AlbumForm::collect(Record& r) const {
    for (int field : kLineFields)
        r.setText(field, lineEdit(field)->text());
    for (int field : kMemoFields)
        r.setText(field, memoEdit(field)->toPlainText());
    r.setText(ALB::Media, m_media->currentText());
    r.setNumber(ALB::ReleaseDate, m_released->value(r.number(ALB::ReleaseDate)));
}

Record AlbumForm::currentAlbum() const {
    Record r = m_record;
    collect(r);
    return r;
}

bool AlbumForm::acceptMedia() {
    if (m_closing || m_media->accept())
        return true;
    m_checks->refuse(m_media);
    return false;
}

bool AlbumForm::acceptReleaseDate() {
    if (m_closing || m_released->accept(*m_context.access))
        return true;
    m_checks->refuse(m_released);
    return false;
}

bool AlbumForm::acceptCategory() {
    if (m_closing)
        return true;
    qint64 id = 0;
    if (!m_category->accept(id)) {
        m_checks->refuse(m_category);
        return false;
    }
    m_record.setNumber(ALB::CategoryID, id);
    return true;
}

bool AlbumForm::acceptAll() {
    return acceptMedia() && acceptReleaseDate() && acceptCategory();
}

void AlbumForm::playSound() {
    const QString file = lineEdit(ALB::AssociatedWavFile)->text().trimmed();
    if (file.isEmpty())
        return;
    if (!m_player->play(file))
        m_context.access->ask(
            {QStringLiteral("Error"), QStringLiteral("Could not play ") + file + QStringLiteral("."), ButtonOk, ButtonOk});
}

void AlbumForm::chooseImage() {
    QLineEdit* image = lineEdit(ALB::AssociatedImage);
    const QString current = image->text().trimmed();
    ModalWindow<QFileDialog> dialog(this, QStringLiteral("Choose a File"), QString(), QStringLiteral("All Files (*)"));
    dialog->setObjectName(QStringLiteral("ChooseAFile"));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::ExistingFile);
    if (!current.isEmpty()) {
        const QFileInfo info(current);
        dialog->setDirectory(info.absolutePath());
        dialog->selectFile(info.fileName());
    }
    const QPointer<AlbumForm> self(this);
    const ModalResult result = dialog.exec();
    if (!self || !result.accepted() || dialog->selectedFiles().isEmpty())
        return;
    image->setText(dialog->selectedFiles().first());
    m_image->showFile(image->text());
}

void AlbumForm::readDiscIdentity() {
    Record album = currentAlbum();
    const QString before = album.text(ALB::CDIdentifier);
    const QPointer<AlbumForm> self(this);
    const bool read = ReadCompactDisc::run(m_context, true, false, album, 0, this);
    if (!self || m_closing)
        return;
    if (read) {
        const QString now = album.text(ALB::CDIdentifier);
        m_record.setText(ALB::CDIdentifier, now);
        lineEdit(ALB::CDIdentifier)->setText(now);
        m_context.access->ask({QStringLiteral("Process complete"),
                               now != before ? QStringLiteral("CD Identification updated.")
                                             : QStringLiteral("CD Identification not updated."),
                               ButtonOk, ButtonOk});
        if (!self || m_closing)
            return;
    }
    m_songs->rebuild();
}

void AlbumForm::loadSongsFromDisc() {
    Record album = currentAlbum();
    // An album being added is only primed: songs linked to it now would outlive a Cancel.
    if (m_request == WindowRequest::Insert)
        album.setNumber(ALB::AlbumID, 0);
    const QPointer<AlbumForm> self(this);
    const bool read = ReadCompactDisc::run(m_context, false, false, album, 0, this);
    if (!self || m_closing)
        return;
    if (read) {
        m_record.setText(ALB::CDIdentifier, album.text(ALB::CDIdentifier));
        m_record.setNumber(ALB::TotalTime, album.number(ALB::TotalTime));
        lineEdit(ALB::CDIdentifier)->setText(album.text(ALB::CDIdentifier));
    }
    m_songs->rebuild();
}

void AlbumForm::finish() {
    if (!acceptAll())
        return;
    collect(m_record);
    if (!save())
        return;
    m_context.access->ditto().remember(UpdateAlbums::Procedure, m_record);
    accept();
}

bool AlbumForm::save() {
    TableAccess& access = *m_context.access;
    if (m_request == WindowRequest::Insert) {
        if (completePrimed(access, albumTable(), m_record) == 0)
            return true;
        m_checks->refuse(editor(ALB::Artist));
        return false;
    }
    return followUpdateOutcome(updateWithRetry(access, albumTable(), m_record, m_original, false), *this, m_record,
                               m_original, [this] { showRecord(); });
}

void AlbumForm::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_closing)
        m_category->refresh(m_record.number(ALB::CategoryID));
}

void AlbumForm::done(int result) {
    m_closing = true;
    m_player->stop();
    m_songs->release();
    if (result != QDialog::Accepted && m_request == WindowRequest::Insert)
        cancelPrimed(*m_context.access, albumTable(), m_record);
    m_placer->save();
    QDialog::done(result);
}

}  // namespace srk
