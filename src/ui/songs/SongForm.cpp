#include "ui/songs/SongForm.h"

#include "access/RecordRoutines.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "songs/AddMode.h"
#include "songs/AlbumDefaults.h"
#include "songs/AlbumLink.h"
#include "songs/NewSong.h"
#include "songs/SongChecks.h"
#include "songs/SongTime.h"
#include "text/DateTimeText.h"
#include "text/DayNumber.h"
#include "text/Picture.h"
#include "text/PreferredDatePicture.h"
#include "text/ReleaseDate.h"
#include "text/TypedEntry.h"
#include "ui/services/FormUpdate.h"
#include "ui/services/CategoryDropList.h"
#include "ui/services/DittoKey.h"
#include "ui/services/FieldChecks.h"
#include "ui/services/FormToolBar.h"
#include "ui/services/MediaDropList.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/ReleaseDateEntry.h"
#include "ui/services/WindowInstance.h"
#include "ui/services/WindowPlacer.h"
#include "ui/ProgramContext.h"
#include "ui/services/WindowSize.h"
#include "ui/songs/AddAlbumWizardLauncher.h"
#include "ui/songs/SelectAddType.h"
#include "ui/songs/SelectAlbum.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QPointer>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

#include <optional>

namespace srk {

namespace {

const QString kTimePicture = QStringLiteral("@t4b");
const QString kTrackPicture = QStringLiteral("@n3");
const QString kBpmPicture = QStringLiteral("@n_4b");
// The form's own release-date picture when the preferences name none.
const QString kDatePicture = QStringLiteral("@d17b");

const QStringList kSides = {QStringLiteral(" "), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("1"),
                            QStringLiteral("2")};

qint64 numberIn(const QLineEdit* edit) {
    return edit->text().trimmed().toLongLong();
}

// The wizard an add-mode decision hands the new song to, if any.
std::optional<AddAlbumWizard> wizardFor(AddModeDecision decision) {
    if (decision == AddModeDecision::Compilation)
        return AddAlbumWizard::Compilation;
    if (decision == AddModeDecision::SingleArtist)
        return AddAlbumWizard::SingleArtist;
    return std::nullopt;
}

}  // namespace

QString SongForm::procedureName(Variant variant) {
    return variant == Variant::ForAlbum ? QStringLiteral("UpdateSongsForAlbum") : QStringLiteral("UpdateSong");
}

WindowResponse SongForm::run(ProgramContext& context, Variant variant, WindowRequest request, Record& song,
                             const Record* album, QWidget* parent, FormMove* move) {
    if (move)
        *move = FormMove::None;
    context.threadInstance = windowInstance(parent);
    if (!song.isValid())
        song = Record(songsTable());
    const Record asCalled = song;
    if (song.text(SON::Media).trimmed().isEmpty())
        song.setText(SON::Media, QStringLiteral("CD"));

    if (variant == Variant::UpdateSong) {
        AddModeDecision decision = decideAddMode(context.preferences.AddMode, song);
        if (decision == AddModeDecision::Ask) {
            const QPointer<QWidget> owner(parent);
            decision = addModeFromChoice(SelectAddType::run(parent));
            // The window that asked may have gone meanwhile: nothing more opens for it.
            if (parent && !owner)
                return WindowResponse::Cancelled;
        }
        if (const auto wizard = wizardFor(decision)) {
            if (const AddAlbumWizardLauncher::Runner& runner = AddAlbumWizardLauncher::runner()) {
                runner(context, *wizard, parent);
                return WindowResponse::Cancelled;
            }
        }
    }

    bool copy = false;
    if (request == WindowRequest::Select) {
        if (variant == Variant::ForAlbum)
            return WindowResponse::Cancelled;
        copy = true;
        request = WindowRequest::Insert;
    }

    TableAccess& access = *context.access;
    if (request == WindowRequest::Delete) {
        if (!confirmDelete(access))
            return WindowResponse::Cancelled;
        return deleteWithRetry(access, songsTable(), song) == RoutineResult::Done ? WindowResponse::Completed
                                                                : WindowResponse::Cancelled;
    }
    if (request != WindowRequest::Insert && request != WindowRequest::Change)
        return WindowResponse::Cancelled;

    // The form's tables stay open while it is up.
    TableUse use(access);
    for (const TableDef* def : {&songsTable(), &categoriesTable(), &mediaTable(), &albumTable()})
        if (!use.open(*def))
            return WindowResponse::Cancelled;

    Record record = song;
    if (request == WindowRequest::Insert) {
        Record primed = song;
        if (variant == Variant::ForAlbum && album) {
            const Record fromAlbum = newSongOfAlbum(*album);
            for (int field : {SON::FileNumber, SON::Album, SON::Artist, SON::ReleaseDate, SON::AlbumID})
                primed.setValue(field, fromAlbum.value(field));
        }
        if (primeSong(access, primed) != PrimeStatus::Primed)
            return WindowResponse::Cancelled;
        record = primed;
        // The album's song list copies a song by an insert on its values: the copy keeps its medium
        // (priming puts "CD" only where there is none).
        if (variant == Variant::ForAlbum)
            record.setText(SON::Media, song.text(SON::Media));
        if (copy) {
            // The copy carries everything of its source under its own new number.
            record = song;
            record.setNumber(SON::ID, primed.number(SON::ID));
            record.setRowId(primed.rowId());
            record.setChangeCount(primed.changeCount());
        }
    }

    ModalWindow<SongForm> form(context, variant, request, record,
                               request == WindowRequest::Change ? asCalled : record, move != nullptr, parent);
    const ModalResult result = form.exec();
    if (result.gone && request == WindowRequest::Insert)
        // Deleted with its owner before it could cancel itself: the primed song goes all the same.
        cancelPrimed(access, songsTable(), record);
    if (!result.accepted())
        return WindowResponse::Cancelled;
    song = form->record();
    if (move)
        *move = form->move();
    return WindowResponse::Completed;
}

SongForm::SongForm(ProgramContext& context, Variant variant, WindowRequest request, const Record& record,
                   const Record& original, bool withToolBar, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_variant(variant),
      m_request(request),
      m_record(record.isValid() ? record : Record(songsTable())),
      m_original(original.isValid() ? original : m_record) {
    setObjectName(variant == Variant::ForAlbum ? QStringLiteral("UPDATESONGSFORALBUM") : QStringLiteral("UPDATESONG"));
    setWindowTitle(request == WindowRequest::Insert ? QStringLiteral("Adding Information")
                                                    : QStringLiteral("Changing Information"));
    m_datePicture = applyPreferredDatePicture(kDatePicture, context.preferences.DateFormat);
    m_ditto = new DittoKey(this, context.access->ditto(), procedureName(variant));
    m_placer = new WindowPlacer(this, context.positions, procedureName(variant));

    // The album's song form checks a typed medium against the list; the other has a drop list of it.
    if (variant == Variant::ForAlbum)
        m_media = loadMediaList(*context.access);

    m_tabs = new QTabWidget(this);
    m_checks = new FieldChecks(m_tabs);
    m_tabs->addTab(buildGeneralTab(), QStringLiteral("&General"));
    m_tabs->addTab(buildCustomTab(), QStringLiteral("DJ/Custom"));
    m_tabs->addTab(buildRecordingTab(), QStringLiteral("Recording/Performance"));
    m_tabs->addTab(buildNotesTab(), QStringLiteral("&Notes"));

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setAutoDefault(false);
    // Pressing a button must not first accept the field the cursor is in: OK checks every field itself.
    m_ok->setFocusPolicy(Qt::TabFocus);
    m_cancel->setFocusPolicy(Qt::TabFocus);
    connect(m_ok, &QPushButton::clicked, this, [this] { finish(FormMove::None); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    if (variant == Variant::UpdateSong) {
        m_albumButton = new QPushButton(QStringLiteral("Default with Album Information"), this);
        m_albumButton->setAutoDefault(false);
        m_albumButton->setFocusPolicy(Qt::TabFocus);
        connect(m_albumButton, &QPushButton::clicked, this, &SongForm::defaultFromAlbum);
        buttons->addWidget(m_albumButton);
    }
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    if (withToolBar) {
        m_toolBar = new FormToolBar(this);
        connect(m_toolBar, &FormToolBar::moveRequested, this, &SongForm::finish);
        layout->addWidget(m_toolBar);
    }
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
    fitWindow(this);

    showRecord();
    m_tabs->setCurrentIndex(0);
    editor(SON::Artist)->setFocus();
}

SongForm::~SongForm() = default;

QLineEdit* SongForm::lineEdit(int field) const {
    return qobject_cast<QLineEdit*>(m_editors.value(field));
}

QPlainTextEdit* SongForm::memoEdit(int field) const {
    return qobject_cast<QPlainTextEdit*>(m_editors.value(field));
}

QRadioButton* SongForm::sideOption(const QString& value) const {
    const int i = kSides.indexOf(value.isEmpty() ? QStringLiteral(" ") : value);
    return i < 0 ? nullptr : qobject_cast<QRadioButton*>(m_side->button(i));
}

QLineEdit* SongForm::addLine(int field, int width, const QString& picture) {
    auto* edit = new QLineEdit(this);
    edit->setMaxLength(width);
    m_editors.insert(field, edit);
    m_ditto->bindField(edit, field, picture);
    return edit;
}

QPlainTextEdit* SongForm::addMemo(int field) {
    auto* edit = new QPlainTextEdit(this);
    edit->setTabChangesFocus(true);
    m_editors.insert(field, edit);
    m_ditto->bindField(edit, field);
    return edit;
}

QWidget* SongForm::buildGeneralTab() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    auto row = [form, page](const QString& prompt, QWidget* editor) {
        auto* label = new QLabel(prompt, page);
        label->setBuddy(editor);
        form->addRow(label, editor);
    };
    row(QStringLiteral("&Artist:"), addLine(SON::Artist, 40));
    row(QStringLiteral("&Title:"), addLine(SON::Title, 40));
    row(QStringLiteral("&Album:"), addLine(SON::Album, 40));

    if (m_variant == Variant::UpdateSong) {
        m_mediaCombo = new MediaDropList(*m_context.access, this);
        m_editors.insert(SON::Media, m_mediaCombo);
        m_ditto->bindField(m_mediaCombo, SON::Media);
        connect(m_mediaCombo->lineEdit(), &QLineEdit::editingFinished, this, [this] { acceptMedia(); });
        m_checks->checkOnEnter(m_mediaCombo, [this] { return acceptMedia(); });
        row(QStringLiteral("&Media:"), m_mediaCombo);
    } else {
        QLineEdit* media = addLine(SON::Media, 20);
        connect(media, &QLineEdit::editingFinished, this, [this] { acceptMedia(); });
        m_checks->checkOnEnter(media, [this] { return acceptMedia(); });
        row(QStringLiteral("&Media:"), media);
    }

    QLineEdit* time = addLine(SON::Time, 12, kTimePicture);
    connect(time, &QLineEdit::editingFinished, this, [this] { acceptTime(); });
    m_checks->checkOnEnter(time, [this] { return acceptTime(); });
    row(QStringLiteral("T&ime:"), time);
    row(QStringLiteral("&File Number:"), addLine(SON::FileNumber, 20));
    m_released = new ReleaseDateEntry(m_datePicture, this);
    auto* released = m_released;
    m_editors.insert(SON::ReleaseDate, released);
    m_ditto->bindField(released, SON::ReleaseDate,
                       [picture = m_datePicture](const QVariant& v) { return formatReleaseDate(v, picture); });
    connect(released, &QLineEdit::editingFinished, this, [this] { acceptReleaseDate(); });
    m_checks->checkOnEnter(released, [this] { return acceptReleaseDate(); });
    row(QStringLiteral("&Release Date:"), released);

    m_categoryCombo = new CategoryDropList(*m_context.access, this);
    connect(m_categoryCombo->lineEdit(), &QLineEdit::editingFinished, this, [this] { acceptCategory(); });
    m_checks->checkOnEnter(m_categoryCombo, [this] { return acceptCategory(); });
    row(QStringLiteral("&Category:"), m_categoryCombo);

    QLineEdit* track = addLine(SON::TrackNumber, 3, kTrackPicture);
    track->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}")), track));
    connect(track, &QLineEdit::editingFinished, this, [this] { acceptTrack(); });
    m_checks->checkOnEnter(track, [this] { return acceptTrack(); });
    row(QStringLiteral("Track &Number:"), track);

    auto* sides = new QWidget(page);
    auto* sideLayout = new QHBoxLayout(sides);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    m_side = new QButtonGroup(this);
    for (int i = 0; i < kSides.size(); ++i) {
        auto* b = new QRadioButton(i == 0 ? QStringLiteral(" None") : kSides[i], sides);
        m_side->addButton(b, i);
        sideLayout->addWidget(b);
    }
    sideLayout->addStretch();
    form->addRow(new QLabel(QStringLiteral("Side / Disc"), page), sides);
    return page;
}

QWidget* SongForm::buildCustomTab() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    QLineEdit* chart = addLine(SON::ChartNumber, 3, kTrackPicture);
    chart->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}")), chart));
    connect(chart, &QLineEdit::editingFinished, this, [this] { acceptChart(); });
    m_checks->checkOnEnter(chart, [this] { return acceptChart(); });
    form->addRow(QStringLiteral("Highest Chart Number:"), chart);

    const QString udk = m_context.preferences.UDKPrompt.trimmed();
    m_udkPrompt = new QLabel(udk.isEmpty() ? QStringLiteral("User Defined Key Field:") : udk + QStringLiteral(":"),
                             page);
    QLineEdit* key = addLine(SON::UserDefinedKeyField, 30);
    const QString tip = QStringLiteral("See File/Preferences/Customization to label this field to suit your needs");
    key->setToolTip(tip);
    m_udkPrompt->setToolTip(tip);
    form->addRow(m_udkPrompt, key);

    QLineEdit* bpm = addLine(SON::BeatsPerMinute, 4, kBpmPicture);
    bpm->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,4}")), bpm));
    form->addRow(QStringLiteral("Beats Per Minute:"), bpm);
    form->addRow(QStringLiteral("Style:"), addLine(SON::Style, 30));
    form->addRow(QStringLiteral("Additional Information 1:"), addLine(SON::AdditionalInformation1, 80));
    form->addRow(QStringLiteral("Additional Information 2:"), addLine(SON::AdditionalInformation2, 80));
    form->addRow(QStringLiteral("Additional Information 3:"), addLine(SON::AdditionalInformation3, 80));
    return page;
}

QWidget* SongForm::buildRecordingTab() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    QPlainTextEdit* recording = addMemo(SON::Recording);
    recording->setToolTip(QStringLiteral("Recording Information (Engineer, Producer, Etc)"));
    form->addRow(QStringLiteral("Recording Information:"), recording);
    form->addRow(QStringLiteral("Composer:"), addLine(SON::Composer, 80));
    form->addRow(QStringLiteral("Performance Notes:"), addMemo(SON::PerformanceNotes));
    return page;
}

QWidget* SongForm::buildNotesTab() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(addMemo(SON::Notes));
    return page;
}

void SongForm::showRecord() {
    const Record& r = m_record;
    for (int field : {SON::Artist, SON::Title, SON::Album, SON::FileNumber, SON::UserDefinedKeyField, SON::Style,
                      SON::AdditionalInformation1, SON::AdditionalInformation2, SON::AdditionalInformation3,
                      SON::Composer})
        lineEdit(field)->setText(r.text(field));
    for (int field : {SON::Recording, SON::PerformanceNotes, SON::Notes})
        memoEdit(field)->setPlainText(r.text(field));
    if (m_mediaCombo) {
        m_mediaCombo->showMedia(r.text(SON::Media));
    } else {
        QString media = r.text(SON::Media);
        if (media.trimmed().isEmpty() && !m_media.isEmpty())
            media = m_media.first();
        lineEdit(SON::Media)->setText(media);
    }
    m_shownTime = format(r.number(SON::Time), kTimePicture);
    lineEdit(SON::Time)->setText(m_shownTime);
    m_released->showValue(r.number(SON::ReleaseDate));
    lineEdit(SON::TrackNumber)->setText(format(r.number(SON::TrackNumber), kTrackPicture).trimmed());
    lineEdit(SON::ChartNumber)->setText(format(r.number(SON::ChartNumber), kTrackPicture).trimmed());
    lineEdit(SON::BeatsPerMinute)->setText(format(r.number(SON::BeatsPerMinute), kBpmPicture).trimmed());
    m_categoryCombo->showCategory(r.number(SON::CategoryID));
    int side = kSides.indexOf(r.text(SON::Side).isEmpty() ? QStringLiteral(" ") : r.text(SON::Side).toUpper());
    m_side->button(side < 0 ? 0 : side)->setChecked(true);
}

void SongForm::collect() {
    Record& r = m_record;
    for (int field : {SON::Artist, SON::Title, SON::Album, SON::FileNumber, SON::UserDefinedKeyField, SON::Style,
                      SON::AdditionalInformation1, SON::AdditionalInformation2, SON::AdditionalInformation3,
                      SON::Composer})
        r.setText(field, lineEdit(field)->text());
    for (int field : {SON::Recording, SON::PerformanceNotes, SON::Notes})
        r.setText(field, memoEdit(field)->toPlainText());
    r.setText(SON::Media, m_mediaCombo ? m_mediaCombo->currentText() : lineEdit(SON::Media)->text());
    // Times and dates shown as they were keep their stored value: the display drops hundredths, and a
    // full date shown under the "Year Only" picture keeps its day. Both were checked before.
    const QString time = lineEdit(SON::Time)->text();
    if (time != m_shownTime)
        r.setNumber(SON::Time, readTimeEntry(time).value_or(kNoTime));
    r.setNumber(SON::ReleaseDate, m_released->value(r.number(SON::ReleaseDate)));
    r.setNumber(SON::TrackNumber, numberIn(lineEdit(SON::TrackNumber)));
    r.setNumber(SON::ChartNumber, numberIn(lineEdit(SON::ChartNumber)));
    r.setNumber(SON::BeatsPerMinute, numberIn(lineEdit(SON::BeatsPerMinute)));
    const int side = m_side->checkedId();
    r.setText(SON::Side, side <= 0 ? QString() : kSides[side]);
}

bool SongForm::acceptMedia() {
    if (m_closing)
        return true;
    QWidget* field = editor(SON::Media);
    bool ok = false;
    if (m_mediaCombo) {
        ok = m_mediaCombo->accept();
    } else {
        QString media = lineEdit(SON::Media)->text();
        ok = checkMedia(*m_context.access, m_media, media);
        lineEdit(SON::Media)->setText(media);
    }
    if (!ok)
        m_checks->refuse(field);
    return ok;
}

bool SongForm::acceptTime() {
    if (m_closing)
        return true;
    QLineEdit* edit = lineEdit(SON::Time);
    if (edit->text() == m_shownTime)
        return true;
    const std::optional<qint64> typed = readTimeEntry(edit->text());
    if (!typed) {
        m_context.access->ask({timeEntryTitle(), timeEntryText(edit->text(), kTimePicture), ButtonOk, ButtonOk});
        m_checks->refuse(edit);
        return false;
    }
    edit->setText(format(correctedSongTime(*typed), kTimePicture));
    return true;
}

bool SongForm::acceptReleaseDate() {
    if (m_closing)
        return true;
    if (m_released->accept(*m_context.access))
        return true;
    m_checks->refuse(m_released);
    return false;
}

bool SongForm::acceptCategory() {
    if (m_closing)
        return true;
    qint64 id = 0;
    if (!m_categoryCombo->accept(id)) {
        m_checks->refuse(m_categoryCombo);
        return false;
    }
    m_record.setNumber(SON::CategoryID, id);
    return true;
}

bool SongForm::acceptTrack() {
    if (m_closing)
        return true;
    if (checkTrackNumber(*m_context.access, numberIn(lineEdit(SON::TrackNumber))))
        return true;
    m_checks->refuse(lineEdit(SON::TrackNumber));
    return false;
}

bool SongForm::acceptChart() {
    if (m_closing)
        return true;
    if (checkChartNumber(*m_context.access, numberIn(lineEdit(SON::ChartNumber))))
        return true;
    m_checks->refuse(lineEdit(SON::ChartNumber));
    return false;
}

bool SongForm::acceptAll() {
    return acceptMedia() && acceptTime() && acceptReleaseDate() && acceptCategory() && acceptTrack() &&
           acceptChart();
}

void SongForm::finish(FormMove move) {
    if (!acceptAll())
        return;
    collect();
    linkSongToAlbum(*m_context.access, m_context.preferences.AutoAddToAlbums, m_record);
    if (!save())
        return;
    m_context.access->ditto().remember(procedureName(m_variant), m_record);
    m_move = move;
    accept();
}

bool SongForm::save() {
    TableAccess& access = *m_context.access;
    if (m_request == WindowRequest::Insert) {
        if (saveNewSong(access, m_record))
            return true;
        m_checks->refuse(editor(SON::Artist));
        return false;
    }
    return followUpdateOutcome(updateWithRetry(access, songsTable(), m_record, m_original, false), *this, m_record,
                               m_original, [this] { showRecord(); });
}

void SongForm::defaultFromAlbum() {
    // What is typed is kept while the album is picked, so it must read first.
    if (!acceptTime() || !acceptReleaseDate())
        return;
    collect();
    Record album(albumTable());
    const QPointer<SongForm> self(this);
    const WindowResponse response = SelectAlbum::select(m_context, album, this);
    if (!self || response != WindowResponse::Completed)
        return;
    applyAlbumDefaults(m_record, album);
    showRecord();
}

void SongForm::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || m_closing || !m_categoryCombo)
        return;
    m_categoryCombo->refresh(m_record.number(SON::CategoryID));
}

void SongForm::done(int result) {
    m_closing = true;
    if (result != QDialog::Accepted && m_request == WindowRequest::Insert)
        cancelPrimed(*m_context.access, songsTable(), m_record);
    m_placer->save();
    QDialog::done(result);
}

}  // namespace srk
