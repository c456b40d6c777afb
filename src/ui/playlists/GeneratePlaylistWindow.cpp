#include "ui/playlists/GeneratePlaylistWindow.h"

#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "songs/NewCategory.h"
#include "text/DayNumber.h"
#include "text/PreferredDatePicture.h"
#include "text/ReleaseDate.h"
#include "ui/ProgramContext.h"
#include "ui/services/CategoryDropList.h"
#include "ui/services/FieldChecks.h"
#include "ui/services/OkCancelButtons.h"
#include "ui/services/ReleaseDateEntry.h"
#include "ui/services/WindowPlacer.h"
#include "ui/services/WindowSize.h"

#include <QApplication>
#include <QDate>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace srk {

namespace {

const QString kDatePicture = QStringLiteral("@d3");

}  // namespace

GeneratePlaylistWindow::GeneratePlaylistWindow(ProgramContext& context, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_tables(*context.access),
      m_random(PlaylistRandom::fromClock()),
      m_today(todayDayNumber()) {
    setWindowTitle(QStringLiteral("Generate Play List"));
    for (const TableDef* def : {&songsTable(), &categoriesTable(), &playlistMasterTable(), &playlistDetailsTable()})
        m_tables.open(*def);

    // "n2": up to two digits.
    m_size = new QLineEdit(QStringLiteral("0"), this);
    m_size->setMaxLength(2);
    m_size->setValidator(new QIntValidator(0, 99, m_size));
    m_size->setAlignment(Qt::AlignRight);

    const QString datePicture = applyPreferredDatePicture(kDatePicture, context.preferences.DateFormat);
    m_start = new ReleaseDateEntry(datePicture, this);
    m_end = new ReleaseDateEntry(datePicture, this);
    m_start->showValue(kNoDate);
    m_end->showValue(kNoDate);
    m_category = new CategoryDropList(*context.access, this);
    m_category->showCategory(0);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Play List Size (Number of Songs):"), m_size);
    fields->addRow(QStringLiteral("Starting Release Date:"), m_start);
    fields->addRow(QStringLiteral("Ending Release Date:"), m_end);
    fields->addRow(QStringLiteral("Category (Blank for All):"), m_category);
    // The size field needs only its two digits; a date its widest text; the drop list 120 dialog
    // units (30 average characters), as designed.
    const QFontMetrics metrics = fontMetrics();
    m_size->setMaximumWidth(metrics.horizontalAdvance(QStringLiteral("999")) + 16);
    const QString widestDate =
        formatReleaseDate(dayNumberFromDate(QDate(2000, 9, 30)), datePicture) + QStringLiteral("WW");
    for (ReleaseDateEntry* date : {m_start, m_end})
        date->setMinimumWidth(metrics.horizontalAdvance(widestDate) + 16);
    m_category->setMinimumWidth(metrics.averageCharWidth() * 30 + 24);

    auto* group = new QGroupBox(QStringLiteral("Weighting"), this);
    auto* options = new QVBoxLayout(group);
    for (const QString& text : playlistWeightingTexts()) {
        auto* option = new QRadioButton(text, group);
        options->addWidget(option);
        m_weightings << option;
    }
    m_weightings.first()->setChecked(true);

    const OkCancelButtons okCancel = makeOkCancelButtons(this);
    m_ok = okCancel.ok;
    m_cancel = okCancel.cancel;
    connect(m_ok, &QPushButton::clicked, this, &GeneratePlaylistWindow::onOk);
    QHBoxLayout* buttons = okCancelRow(okCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(group);
    layout->addLayout(buttons);

    m_checks = new FieldChecks(nullptr);
    m_checks->setParent(this);
    m_checks->checkOnEnter(m_size, [this] { return acceptSize(); });
    m_checks->checkOnEnter(m_start, [this] { return acceptDate(m_start); });
    m_checks->checkOnEnter(m_end, [this] { return acceptDate(m_end); });
    m_checks->checkOnEnter(m_category, [this] { return acceptCategory(); });

    fitWindow(this);
    m_placer = new WindowPlacer(this, context.positions, QString::fromLatin1(Procedure));
    m_size->setFocus();
    m_size->selectAll();
}

GeneratePlaylistWindow::~GeneratePlaylistWindow() = default;

QRadioButton* GeneratePlaylistWindow::weightingOption(const QString& text) const {
    for (QRadioButton* option : m_weightings)
        if (option->text() == text)
            return option;
    return nullptr;
}

PlaylistWeighting GeneratePlaylistWindow::weighting() const {
    for (QRadioButton* option : m_weightings)
        if (option->isChecked())
            return playlistWeightingFromText(option->text()).value_or(PlaylistWeighting::None);
    return PlaylistWeighting::None;
}

bool GeneratePlaylistWindow::acceptSize() {
    const QString text = m_size->text().trimmed();
    bool ok = text.isEmpty();
    const int size = ok ? 0 : text.toInt(&ok);
    if (ok && size >= 0 && size <= 99)
        return true;
    QApplication::beep();
    m_checks->refuse(m_size);
    return false;
}

bool GeneratePlaylistWindow::acceptDate(ReleaseDateEntry* field) {
    if (field->accept(*m_context.access))
        return true;
    m_checks->refuse(field);
    return false;
}

bool GeneratePlaylistWindow::acceptCategory() {
    // Only a listed category will do: the generator never adds one.
    const QString typed = m_category->currentText().trimmed();
    if (typed.isEmpty())
        return true;
    const QVector<CategoryChoice> choices = loadCategoryChoices(*m_context.access);
    if (const CategoryChoice* found = findCategoryChoice(choices, typed)) {
        m_category->setEditText(found->name);
        return true;
    }
    QApplication::beep();
    m_checks->refuse(m_category);
    return false;
}

void GeneratePlaylistWindow::onOk() {
    if (!acceptSize() || !acceptDate(m_start) || !acceptDate(m_end) || !acceptCategory())
        return;
    PlaylistRequest request;
    request.size = m_size->text().trimmed().toInt();
    request.startDate = m_start->value(kNoDate);
    request.endDate = m_end->value(kNoDate);
    request.category = m_category->currentText().trimmed();
    request.weighting = weighting();
    m_outcome = GeneratePlaylist(*m_context.access, request, m_random, m_today);
    accept();
}

void GeneratePlaylistWindow::done(int result) {
    m_placer->save();
    QDialog::done(result);
}

}  // namespace srk
