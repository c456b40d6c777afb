#include "ui/query/QueryWizard.h"

#include "access/MessageService.h"
#include "query/QueryParser.h"
#include "query/WizardOperators.h"
#include "query/WizardTexts.h"
#include "text/Picture.h"
#include "ui/query/QueryDescriptionDialog.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/WindowPlacer.h"
#include "ui/services/WindowSize.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace srk {

namespace {

// Rows of the saved-query list before the saved queries.
constexpr int AllRecordsRow = 0;
constexpr int CustomQueryRow = 1;
constexpr int FirstSavedRow = 2;

// A button's tip, short tip and text are three consecutive display texts.
QPushButton* wizardButton(QWidget* parent, WizardText tip) {
    auto* b = new QPushButton(wizardText(wizardButtonText(tip)), parent);
    b->setToolTip(wizardText(tip));
    b->setStatusTip(wizardText(wizardShortTip(tip)));
    b->setAutoDefault(false);
    return b;
}

bool needsValue(int operation) {
    return wizardOperator(WizardCondition::Operation(operation)).needsValue;
}

// How many characters a typed text value may have.
int textWidth(const QueryField& f) {
    const Picture p = parsePicture(f.picture);
    const int width = p.kind == PictureKind::Text && p.width > 0 ? p.width : f.size;
    return qMax(1, width);
}

QString numberText(const QVariant& v) {
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', 15);
    return QString::number(v.toLongLong());
}

// A number typed through the field's picture, as the stored number; nothing when it does not read.
std::optional<QString> storedNumber(const QString& typed, const QString& picture) {
    if (typed.trimmed().isEmpty())
        return std::nullopt;
    const QVariant v = deformat(typed.trimmed(), picture);
    // deformat() gives 0 for text that does not fit the picture.
    const bool zero = v.typeId() == QMetaType::Double ? v.toDouble() == 0 : v.toLongLong() == 0;
    if (zero) {
        for (QChar c : typed)
            if (c >= QLatin1Char('1') && c <= QLatin1Char('9'))
                return std::nullopt;
        bool anyDigit = false;
        for (QChar c : typed)
            anyDigit = anyDigit || c.isDigit();
        if (!anyDigit)
            return std::nullopt;
    }
    return numberText(v);
}

} // namespace

bool QueryWizard::run(QWidget* parent, MessageService& messages, const QueryFieldList& fields,
                      QString& filter, const QString& setName, const QString& dataFolder, IniFile* positions) {
    ModalWindow<QueryWizard> wizard(parent, messages, fields, filter, setName, dataFolder);
    WindowPlacer* placer =
        positions ? new WindowPlacer(wizard.get(), *positions, QStringLiteral("QueryWizard")) : nullptr;
    const ModalResult result = wizard.exec();
    if (result.gone)
        return false;
    if (placer)
        placer->save();
    if (!result.accepted() || !wizard->changed())
        return false;
    filter = wizard->result();
    return true;
}

QueryWizard::QueryWizard(QWidget* parent, MessageService& messages, const QueryFieldList& fields,
                         const QString& filter, const QString& setName, const QString& dataFolder)
    : QDialog(parent), m_messages(messages), m_fields(fields), m_initial(filter), m_set(setName),
      m_saved(dataFolder) {
    setObjectName(QStringLiteral("QueryWizard"));
    setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    m_stack = new QStackedWidget(this);
    m_stack->addWidget(buildSavedPage());
    m_stack->addWidget(buildCurrentPage());
    m_stack->addWidget(buildFieldPage());
    m_stack->addWidget(buildOperationPage());
    m_stack->addWidget(buildValuePage());
    m_stack->addWidget(buildManualPage());
    layout->addWidget(m_stack, 1);

    m_nav = new QWidget(this);
    auto* nav = new QHBoxLayout(m_nav);
    nav->setContentsMargins(0, 0, 0, 0);
    m_back = wizardButton(m_nav, WizardText::BackTip);
    m_next = wizardButton(m_nav, WizardText::NextTip);
    m_finish = wizardButton(m_nav, WizardText::FinishTip);
    m_cancel = wizardButton(m_nav, WizardText::CancelTip);
    nav->addStretch();
    nav->addWidget(m_back);
    nav->addWidget(m_next);
    nav->addWidget(m_finish);
    nav->addWidget(m_cancel);
    layout->addWidget(m_nav);
    connect(m_back, &QPushButton::clicked, this, &QueryWizard::goBack);
    connect(m_next, &QPushButton::clicked, this, &QueryWizard::goNext);
    connect(m_finish, &QPushButton::clicked, this, &QueryWizard::finish);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    const QFontMetrics fm(font());
    fitWindow(this, QSize(fm.averageCharWidth() * 70, fm.height() * 24));

    // A damaged query file is reported and left alone: nothing is saved over it.
    m_savedLoaded = m_saved.load();
    if (!m_savedLoaded)
        ask(WizardText::LoadErrorCaption, WizardText::LoadErrorText, ButtonOk, ButtonOk, m_saved.error());
    refreshSavedList();

    // A filter already in force is shown as the current query so that conditions can be added to it.
    if (!m_initial.trimmed().isEmpty())
        openBuilder(m_initial, QString(), false);
    else
        showPage(SavedPage);
}

QueryWizard::Page QueryWizard::page() const {
    return Page(m_stack->currentIndex());
}

QWidget* QueryWizard::newPage(std::optional<WizardText> title, std::optional<WizardText> prompt, QLayout*& body) {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    if (title) {
        auto* heading = new QLabel(wizardText(*title), page);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        layout->addWidget(heading);
    }
    if (prompt) {
        auto* text = new QLabel(wizardText(*prompt), page);
        text->setWordWrap(true);
        layout->addWidget(text);
    }
    body = layout;
    return page;
}

QWidget* QueryWizard::buildSavedPage() {
    QLayout* body = nullptr;
    QWidget* page = newPage(std::nullopt, std::nullopt, body);
    auto* row = new QHBoxLayout;
    m_savedList = new QTreeWidget(page);
    m_savedList->setObjectName(QStringLiteral("savedQueries"));
    m_savedList->setColumnCount(1);
    m_savedList->setHeaderLabels({wizardText(WizardText::QueryDescription)});
    m_savedList->setRootIsDecorated(false);
    m_savedList->setUniformRowHeights(true);
    row->addWidget(m_savedList, 1);

    auto* buttons = new QVBoxLayout;
    m_insertSaved = wizardButton(page, WizardText::AddSavedTip);
    m_changeSaved = wizardButton(page, WizardText::EditSavedTip);
    m_deleteSaved = wizardButton(page, WizardText::RemoveSavedTip);
    m_selectSaved = wizardButton(page, WizardText::RunSavedTip);
    QPushButton* close = wizardButton(page, WizardText::CloseSavedTip);
    m_selectSaved->setDefault(true);
    for (QPushButton* b : {m_selectSaved, m_insertSaved, m_changeSaved, m_deleteSaved})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);
    row->addLayout(buttons);
    static_cast<QVBoxLayout*>(body)->addLayout(row, 1);

    connect(m_insertSaved, &QPushButton::clicked, this, [this] { openBuilder(QString(), QString(), true); });
    connect(m_changeSaved, &QPushButton::clicked, this, &QueryWizard::changeSaved);
    connect(m_deleteSaved, &QPushButton::clicked, this, &QueryWizard::deleteSaved);
    connect(m_selectSaved, &QPushButton::clicked, this, &QueryWizard::selectSaved);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_savedList, &QTreeWidget::itemDoubleClicked, this, &QueryWizard::selectSaved);
    connect(m_savedList, &QTreeWidget::currentItemChanged, this, &QueryWizard::updateButtons);
    return page;
}

QWidget* QueryWizard::buildCurrentPage() {
    QLayout* body = nullptr;
    QWidget* page = newPage(WizardText::CurrentQuery, WizardText::AddConditionsHint, body);
    auto* box = static_cast<QVBoxLayout*>(body);
    auto* hint = new QLabel(wizardText(WizardText::ChangeOrDeleteHint), page);
    hint->setWordWrap(true);
    box->addWidget(hint);

    auto* row = new QHBoxLayout;
    m_elementList = new QListWidget(page);
    m_elementList->setObjectName(QStringLiteral("elements"));
    row->addWidget(m_elementList, 1);
    auto* buttons = new QVBoxLayout;
    QPushButton* andButton = wizardButton(page, WizardText::AndTip);
    QPushButton* orButton = wizardButton(page, WizardText::OrTip);
    m_changeElement = wizardButton(page, WizardText::ChangeTip);
    m_deleteElement = wizardButton(page, WizardText::DeleteTip);
    QPushButton* manual = wizardButton(page, WizardText::ManualTip);
    for (QPushButton* b : {andButton, orButton, m_changeElement, m_deleteElement, manual})
        buttons->addWidget(b);
    buttons->addStretch();
    row->addLayout(buttons);
    box->addLayout(row, 1);

    m_queryText = new QLabel(page);
    m_queryText->setObjectName(QStringLiteral("queryText"));
    m_queryText->setWordWrap(true);
    m_queryText->setTextFormat(Qt::PlainText);
    m_queryText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->addWidget(m_queryText);

    connect(andButton, &QPushButton::clicked, this, [this] { startCondition(QueryElement::Join::And); });
    connect(orButton, &QPushButton::clicked, this, [this] { startCondition(QueryElement::Join::Or); });
    connect(m_changeElement, &QPushButton::clicked, this, &QueryWizard::changeElement);
    connect(m_deleteElement, &QPushButton::clicked, this, &QueryWizard::deleteElement);
    connect(manual, &QPushButton::clicked, this, [this] { startManual(-1); });
    connect(m_elementList, &QListWidget::itemDoubleClicked, this, &QueryWizard::changeElement);
    connect(m_elementList, &QListWidget::currentRowChanged, this, &QueryWizard::updateButtons);
    return page;
}

QWidget* QueryWizard::buildFieldPage() {
    QLayout* body = nullptr;
    QWidget* page = newPage(WizardText::FieldSelection, WizardText::SelectFieldHint, body);
    auto* group = new QGroupBox(wizardText(WizardText::FieldsToEvaluate), page);
    auto* inner = new QVBoxLayout(group);
    m_fieldList = new QListWidget(group);
    m_fieldList->setObjectName(QStringLiteral("fields"));
    // Two fields may share a caption ("Media"); the tip tells them apart.
    for (const QueryField& f : m_fields.fields()) {
        auto* item = new QListWidgetItem(f.caption, m_fieldList);
        item->setToolTip(f.field);
    }
    inner->addWidget(m_fieldList);
    static_cast<QVBoxLayout*>(body)->addWidget(group, 1);
    connect(m_fieldList, &QListWidget::currentRowChanged, this, &QueryWizard::updateButtons);
    connect(m_fieldList, &QListWidget::itemDoubleClicked, this, &QueryWizard::goNext);
    return page;
}

QWidget* QueryWizard::buildOperationPage() {
    QLayout* body = nullptr;
    QWidget* page = newPage(WizardText::OperationSelection, WizardText::SelectOperationHint, body);
    auto* box = static_cast<QVBoxLayout*>(body);
    m_operationField = new QLabel(page);
    box->addWidget(m_operationField);
    auto* group = new QGroupBox(wizardText(WizardText::QueryOperations), page);
    auto* grid = new QGridLayout(group);
    m_operations = new QButtonGroup(this);
    int index = 0;
    for (const WizardOperator& o : wizardOperators()) {
        const int op = o.operation;
        auto* radio = new QRadioButton(wizardText(o.display), group);
        radio->setObjectName(QStringLiteral("operation%1").arg(op));
        m_operations->addButton(radio, op);
        grid->addWidget(radio, index % 5, index / 5);
        ++index;
    }
    box->addWidget(group);
    box->addStretch();
    connect(m_operations, &QButtonGroup::idClicked, this, &QueryWizard::updateButtons);
    return page;
}

QWidget* QueryWizard::buildValuePage() {
    QLayout* body = nullptr;
    QWidget* page = newPage(WizardText::ValueEntry, WizardText::EnterValueHint, body);
    auto* box = static_cast<QVBoxLayout*>(body);
    m_valueCondition = new QLabel(page);
    m_valueCondition->setTextFormat(Qt::PlainText);
    box->addWidget(m_valueCondition);

    auto* group = new QGroupBox(wizardText(WizardText::SelectOption), page);
    auto* grid = new QGridLayout(group);
    m_constantChoice = new QRadioButton(wizardText(WizardText::ConstantValue), group);
    m_expressionChoice = new QRadioButton(wizardText(WizardText::Expression), group);
    m_otherFieldChoice = new QRadioButton(wizardText(WizardText::AnotherField), group);
    m_constantEdit = new QLineEdit(group);
    m_constantEdit->setObjectName(QStringLiteral("constant"));
    m_choiceBox = new QComboBox(group);
    m_choiceBox->setObjectName(QStringLiteral("choices"));
    m_expressionEdit = new QLineEdit(group);
    m_expressionEdit->setObjectName(QStringLiteral("expression"));
    m_expressionEdit->setMaxLength(MaxQueryLength);
    m_otherFieldBox = new QComboBox(group);
    m_otherFieldBox->setObjectName(QStringLiteral("otherField"));
    for (int i = 0; i < m_fields.size(); ++i)
        m_otherFieldBox->addItem(m_fields.at(i).caption, i);
    auto* constant = new QHBoxLayout;
    constant->addWidget(m_constantEdit);
    constant->addWidget(m_choiceBox);
    grid->addWidget(m_constantChoice, 0, 0);
    grid->addLayout(constant, 0, 1);
    grid->addWidget(m_expressionChoice, 1, 0);
    grid->addWidget(m_expressionEdit, 1, 1);
    grid->addWidget(m_otherFieldChoice, 2, 0);
    grid->addWidget(m_otherFieldBox, 2, 1);
    grid->setColumnStretch(1, 1);
    box->addWidget(group);

    m_absolute = new QCheckBox(wizardText(WizardText::AbsoluteValues), page);
    m_caseSensitive = new QCheckBox(wizardText(WizardText::CaseSensitive), page);
    box->addWidget(m_absolute);
    box->addWidget(m_caseSensitive);
    box->addStretch();

    for (QRadioButton* r : {m_constantChoice, m_expressionChoice, m_otherFieldChoice})
        connect(r, &QRadioButton::toggled, this, &QueryWizard::updateValueInputs);
    // Typing into an input picks its kind of value.
    connect(m_constantEdit, &QLineEdit::textEdited, m_constantChoice,
            [this] { m_constantChoice->setChecked(true); });
    connect(m_expressionEdit, &QLineEdit::textEdited, m_expressionChoice,
            [this] { m_expressionChoice->setChecked(true); });
    return page;
}

QWidget* QueryWizard::buildManualPage() {
    QLayout* body = nullptr;
    QWidget* page = newPage(WizardText::ManualOverride, WizardText::ManualShortTip, body);
    m_manualEdit = new QPlainTextEdit(page);
    m_manualEdit->setObjectName(QStringLiteral("manual"));
    m_manualEdit->setTabChangesFocus(true);
    static_cast<QVBoxLayout*>(body)->addWidget(m_manualEdit, 1);
    return page;
}

void QueryWizard::showPage(Page page) {
    m_stack->setCurrentIndex(page);
    m_nav->setVisible(page != SavedPage);
    if (page == SavedPage) {
        setWindowTitle(wizardText(WizardText::SavedQueries));
    } else {
        const QString name = m_editingSaved.isEmpty() ? wizardText(WizardText::NewQuery) : m_editingSaved;
        setWindowTitle(wizardText(WizardText::QueryWizardTitle) + QStringLiteral(" - ") + name);
    }
    updateButtons();
    switch (page) {
    case SavedPage:
        m_savedList->setFocus();
        break;
    case CurrentPage:
        m_elementList->setFocus();
        break;
    case FieldPage:
        m_fieldList->setFocus();
        break;
    case OperationPage:
        if (QAbstractButton* b = m_operations->checkedButton())
            b->setFocus();
        break;
    case ValuePage:
        break;
    case ManualPage:
        m_manualEdit->setFocus();
        break;
    }
}

void QueryWizard::updateButtons() {
    const int row = savedRow();
    m_insertSaved->setEnabled(m_savedLoaded);
    m_selectSaved->setEnabled(row >= 0);
    m_changeSaved->setEnabled(row >= 0);
    m_deleteSaved->setEnabled(row >= 0 && m_savedLoaded);

    const bool element = elementRow() >= 0;
    m_changeElement->setEnabled(element);
    m_deleteElement->setEnabled(element);

    const Page p = Page(m_stack->currentIndex());
    m_back->setEnabled(p != SavedPage);
    bool next = false;
    switch (p) {
    case FieldPage:
        next = m_fieldList->currentRow() >= 0;
        break;
    case OperationPage:
        next = m_operations->checkedId() > 0;
        break;
    case ValuePage:
    case ManualPage:
        next = true;
        break;
    default:
        break;
    }
    m_next->setEnabled(next);
    m_finish->setEnabled(p == CurrentPage || p == ManualPage);
    m_next->setDefault(next);
    m_finish->setDefault(!next && m_finish->isEnabled());
    m_selectSaved->setDefault(p == SavedPage);
}

int QueryWizard::ask(WizardText caption, WizardText text, int buttons, int defaultButton, const QString& detail) {
    Message m;
    m.title = wizardText(caption);
    m.text = wizardMessageText(text);
    if (!detail.isEmpty())
        m.text += QStringLiteral("\n\n") + detail;
    m.buttons = buttons;
    m.defaultButton = defaultButton;
    return m_messages.ask(m);
}

bool QueryWizard::checkQuery(const QString& text) {
    const ParsedQuery parsed = parseQuery(text);
    if (parsed.ok())
        return true;
    ask(WizardText::InvalidQueryCaption, WizardText::InvalidQueryText, ButtonOk, ButtonOk, parsed.error);
    return false;
}

// ---- saved-query list ----

void QueryWizard::refreshSavedList(const QString& select) {
    m_savedList->clear();
    new QTreeWidgetItem(m_savedList, {wizardText(WizardText::AllRecords)});
    new QTreeWidgetItem(m_savedList, {wizardText(WizardText::CustomQuery)});
    int current = m_initial.trimmed().isEmpty() ? AllRecordsRow : CustomQueryRow;
    const QStringList descriptions = m_saved.descriptions(m_set);
    for (int i = 0; i < descriptions.size(); ++i) {
        auto* item = new QTreeWidgetItem(m_savedList, {descriptions[i]});
        item->setData(0, Qt::UserRole, descriptions[i]);
        if (descriptions[i].compare(select, Qt::CaseInsensitive) == 0)
            current = FirstSavedRow + i;
    }
    m_savedList->setCurrentItem(m_savedList->topLevelItem(current));
    updateButtons();
}

int QueryWizard::savedRow() const {
    QTreeWidgetItem* item = m_savedList->currentItem();
    return item ? m_savedList->indexOfTopLevelItem(item) : -1;
}

QString QueryWizard::savedDescription() const {
    QTreeWidgetItem* item = m_savedList->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

void QueryWizard::selectSaved() {
    const int row = savedRow();
    if (row == AllRecordsRow) {
        m_result.clear();
        m_changed = !m_initial.isEmpty();
        accept();
    } else if (row == CustomQueryRow) {
        openBuilder(m_initial, QString(), false);
    } else if (row >= FirstSavedRow) {
        const QString query = m_saved.query(m_set, savedDescription()).value_or(QString());
        if (!parseQuery(query).ok()) {
            ask(WizardText::SavedNoLongerValidCaption, WizardText::SavedNoLongerValidText);
            return;
        }
        m_result = query;
        m_changed = true;
        accept();
    }
}

void QueryWizard::changeSaved() {
    const int row = savedRow();
    if (row == AllRecordsRow) {
        ask(WizardText::RestrictedCaption, WizardText::RestrictedText);
    } else if (row == CustomQueryRow) {
        openBuilder(m_initial, QString(), false);
    } else if (row >= FirstSavedRow) {
        const QString description = savedDescription();
        const QString query = m_saved.query(m_set, description).value_or(QString());
        if (!parseQuery(query).ok())
            ask(WizardText::NoLongerValidCaption, WizardText::NoLongerValidText);
        openBuilder(query, description, false);
    }
}

void QueryWizard::deleteSaved() {
    const int row = savedRow();
    if (row < FirstSavedRow) {
        ask(WizardText::RestrictedCaption, WizardText::RestrictedText);
        return;
    }
    const QString description = savedDescription();
    const QPointer<QueryWizard> self(this);
    const bool confirmed =
        QueryDescriptionDialog::ask(this, QueryDescriptionDialog::Purpose::Delete, description).has_value();
    // The wizard may have gone with its owner while the question was up.
    if (!self || !confirmed)
        return;
    if (!m_saved.remove(m_set, description)) {
        Message m;
        m.title = wizardText(WizardText::RemoveSavedShortTip);
        m.text = m_saved.error();
        m_messages.ask(m);
    }
    refreshSavedList();
}

void QueryWizard::openBuilder(const QString& text, const QString& savedDescription, bool mustSave) {
    m_editingSaved = savedDescription;
    m_mustSave = mustSave;
    // Conditions the wizard wrote come back as conditions; anything else stays filter text.
    m_elements = text.trimmed().isEmpty() ? QVector<QueryElement>() : readQueryElements(text, m_fields);
    refreshElements(0);
    showPage(CurrentPage);
}

// ---- current query ----

void QueryWizard::refreshElements(int select) {
    m_elementList->clear();
    for (int i = 0; i < m_elements.size(); ++i) {
        const QueryElement& e = m_elements[i];
        QString line = elementDisplay(e);
        if (i > 0)
            line = wizardText(e.join == QueryElement::Join::And ? WizardText::AndButton : WizardText::OrButton) + QStringLiteral("  ") + line;
        m_elementList->addItem(line);
    }
    if (!m_elements.isEmpty())
        m_elementList->setCurrentRow(qBound(0, select, int(m_elements.size()) - 1));
    m_queryText->setText(currentQueryText());
    updateButtons();
}

// A built condition as the user chose it ("Artist Contains 'o'b'"); anything else as filter text.
QString QueryWizard::elementDisplay(const QueryElement& e) const {
    const int field = e.built ? m_fields.indexOf(e.condition.field) : -1;
    if (field < 0)
        return e.text;
    const QueryField& f = m_fields.at(field);
    QString line = f.caption + QLatin1Char(' ') + wizardText(wizardOperator(e.condition.operation).display);
    if (!needsValue(e.condition.operation))
        return line;
    QString value;
    switch (e.valueKind) {
    case QueryElement::ValueKind::Constant:
        if (f.numeric) {
            bool whole = false;
            const qlonglong n = e.condition.value.toLongLong(&whole);
            value = format(whole ? QVariant(n) : QVariant(e.condition.value.toDouble()), f.picture).trimmed();
        } else {
            value = wizardText(WizardText::Quote) + e.condition.value + wizardText(WizardText::Quote);
        }
        break;
    case QueryElement::ValueKind::Expression:
        value = e.expression;
        break;
    case QueryElement::ValueKind::OtherField: {
        const int other = m_fields.indexOf(e.expression);
        value = other >= 0 ? m_fields.at(other).caption : e.expression;
        break;
    }
    }
    return line + QLatin1Char(' ') + value;
}

int QueryWizard::elementRow() const {
    return m_elementList->currentRow();
}

void QueryWizard::startCondition(QueryElement::Join join) {
    m_editIndex = -1;
    m_pending = QueryElement();
    m_pending.join = join;
    m_pendingField = -1;
    m_fieldList->setCurrentRow(-1);
    m_fieldList->clearSelection();
    showPage(FieldPage);
}

void QueryWizard::changeElement() {
    const int row = elementRow();
    if (row < 0)
        return;
    const QueryElement& e = m_elements[row];
    const int field = e.built ? m_fields.indexOf(e.condition.field) : -1;
    if (field < 0) {
        startManual(row);
        return;
    }
    m_editIndex = row;
    m_pending = e;
    m_pendingField = field;
    m_fieldList->setCurrentRow(field);
    showPage(FieldPage);
}

void QueryWizard::deleteElement() {
    const int row = elementRow();
    if (row < 0)
        return;
    m_elements.removeAt(row);
    refreshElements(row);
}

void QueryWizard::startManual(int element) {
    m_manualIndex = element;
    m_manualEdit->setPlainText(element < 0 ? currentQueryText() : m_elements[element].text);
    showPage(ManualPage);
}

void QueryWizard::prepareOperationPage() {
    const QueryField& f = m_fields.at(m_pendingField);
    m_operationField->setText(f.caption);
    for (const WizardOperator& o : wizardOperators())
        m_operations->button(o.operation)->setEnabled(!f.numeric || !o.textOnly);
    int op = m_operations->checkedId();
    if (m_pending.built)
        op = m_pending.condition.operation;
    if (op <= 0 || !m_operations->button(op)->isEnabled())
        op = WizardCondition::Equal;
    m_operations->button(op)->setChecked(true);
}

void QueryWizard::prepareValuePage() {
    const QueryField& f = m_fields.at(m_pendingField);
    const int op = m_operations->checkedId();
    m_valueCondition->setText(f.caption + QLatin1Char(' ') +
                              wizardText(wizardOperator(WizardCondition::Operation(op)).display));
    m_absolute->setVisible(f.numeric);
    m_caseSensitive->setVisible(!f.numeric);
    m_choiceBox->clear();
    m_choiceBox->addItems(f.choices);
    m_constantEdit->setMaxLength(f.numeric ? 32 : textWidth(f));

    // Values of the element being changed, as long as it is still about the same field.
    const bool same = m_pending.built && m_pending.condition.field.compare(f.field, Qt::CaseInsensitive) == 0;
    const WizardCondition& c = m_pending.condition;
    m_constantEdit->clear();
    m_expressionEdit->clear();
    m_absolute->setChecked(same && c.absolute);
    m_caseSensitive->setChecked(same && c.caseSensitive);
    m_constantChoice->setChecked(true);
    if (same) {
        switch (m_pending.valueKind) {
        case QueryElement::ValueKind::Constant:
            if (f.choiceList) {
                for (int i = 0; i < f.choices.size(); ++i)
                    if (f.choices[i].left(textWidth(f)).trimmed() == c.value.trimmed())
                        m_choiceBox->setCurrentIndex(i);
            } else if (f.numeric) {
                bool whole = false;
                const qlonglong n = c.value.toLongLong(&whole);
                const QVariant stored = whole ? QVariant(n) : QVariant(c.value.toDouble());
                m_constantEdit->setText(format(stored, f.picture).trimmed());
            } else {
                m_constantEdit->setText(c.value);
            }
            break;
        case QueryElement::ValueKind::Expression:
            m_expressionChoice->setChecked(true);
            m_expressionEdit->setText(m_pending.expression);
            break;
        case QueryElement::ValueKind::OtherField:
            m_otherFieldChoice->setChecked(true);
            m_otherFieldBox->setCurrentIndex(qMax(0, m_fields.indexOf(m_pending.expression)));
            break;
        }
    }
    updateValueInputs();
}

void QueryWizard::updateValueInputs() {
    const bool choices = m_pendingField >= 0 && m_fields.at(m_pendingField).choiceList;
    m_constantEdit->setVisible(!choices);
    m_choiceBox->setVisible(choices);
    m_constantEdit->setEnabled(m_constantChoice->isChecked());
    m_choiceBox->setEnabled(m_constantChoice->isChecked());
    m_expressionEdit->setEnabled(m_expressionChoice->isChecked());
    m_otherFieldBox->setEnabled(m_otherFieldChoice->isChecked());
}

bool QueryWizard::readValue(QueryElement& e) {
    const QueryField& f = m_fields.at(m_pendingField);
    e.built = true;
    e.condition = WizardCondition();
    e.condition.field = f.field;
    e.condition.numeric = f.numeric;
    e.condition.operation = WizardCondition::Operation(m_operations->checkedId());
    e.condition.absolute = f.numeric && m_absolute->isChecked();
    e.condition.caseSensitive = !f.numeric && m_caseSensitive->isChecked();
    e.valueKind = QueryElement::ValueKind::Constant;
    e.expression.clear();
    if (!needsValue(e.condition.operation)) {
        e.text = QueryElement::conditionTextOf(e);
        return true;
    }
    if (m_constantChoice->isChecked()) {
        const QString typed = f.choiceList ? m_choiceBox->currentText() : m_constantEdit->text();
        if (f.numeric) {
            const std::optional<QString> number = storedNumber(typed, f.picture);
            if (!number) {
                ask(WizardText::ValueEntry, WizardText::EnterValueHint);
                return false;
            }
            e.condition.value = *number;
        } else {
            // A choice such as " (N/A)" stands for the value its first characters give.
            e.condition.value = f.choiceList ? typed.left(textWidth(f)) : typed;
        }
    } else if (m_expressionChoice->isChecked()) {
        e.valueKind = QueryElement::ValueKind::Expression;
        e.expression = m_expressionEdit->text().trimmed();
        if (e.expression.isEmpty()) {
            ask(WizardText::ValueEntry, WizardText::EnterValueHint);
            return false;
        }
    } else {
        e.valueKind = QueryElement::ValueKind::OtherField;
        const int other = m_otherFieldBox->currentData().toInt();
        if (other < 0 || other >= m_fields.size())
            return false;
        e.expression = m_fields.at(other).field;
    }
    e.text = QueryElement::conditionTextOf(e);
    return true;
}

bool QueryWizard::commitElement(const QueryElement& element) {
    QVector<QueryElement> next = m_elements;
    if (m_editIndex >= 0 && m_editIndex < next.size())
        next[m_editIndex] = element;
    else
        next.append(element);
    // The whole query must still read, and fit, with the new element in it.
    if (!checkQuery(joinQueryElements(next)))
        return false;
    m_elements = next;
    refreshElements(m_editIndex >= 0 ? m_editIndex : int(m_elements.size()) - 1);
    m_editIndex = -1;
    showPage(CurrentPage);
    return true;
}

bool QueryWizard::applyManual() {
    const QString text = m_manualEdit->toPlainText().trimmed();
    QVector<QueryElement> next = m_elements;
    if (m_manualIndex >= 0 && m_manualIndex < next.size()) {
        if (text.isEmpty()) {
            next.removeAt(m_manualIndex);
        } else {
            const QueryElement::Join join = next[m_manualIndex].join;
            const QVector<QueryElement> typed = readQueryElements(text, m_fields);
            next[m_manualIndex] = typed.size() == 1 ? typed.front() : QueryElement();
            next[m_manualIndex].join = join;
            next[m_manualIndex].text = text;
        }
    } else {
        next = text.isEmpty() ? QVector<QueryElement>() : readQueryElements(text, m_fields);
    }
    if (!next.isEmpty() && !checkQuery(joinQueryElements(next)))
        return false;
    m_elements = next;
    refreshElements(m_manualIndex >= 0 ? m_manualIndex : 0);
    return true;
}

// ---- navigation ----

void QueryWizard::goBack() {
    switch (page()) {
    case CurrentPage:
        refreshSavedList(m_editingSaved);
        m_editingSaved.clear();
        showPage(SavedPage);
        break;
    case FieldPage:
    case ManualPage:
        showPage(CurrentPage);
        break;
    case OperationPage:
        showPage(FieldPage);
        break;
    case ValuePage:
        showPage(OperationPage);
        break;
    case SavedPage:
        break;
    }
}

void QueryWizard::goNext() {
    switch (page()) {
    case FieldPage:
        if (m_fieldList->currentRow() < 0)
            return;
        m_pendingField = m_fieldList->currentRow();
        prepareOperationPage();
        showPage(OperationPage);
        break;
    case OperationPage:
        if (m_operations->checkedId() <= 0)
            return;
        if (needsValue(m_operations->checkedId())) {
            prepareValuePage();
            showPage(ValuePage);
        } else {
            QueryElement e = m_pending;
            if (readValue(e))
                commitElement(e);
        }
        break;
    case ValuePage: {
        QueryElement e = m_pending;
        if (readValue(e))
            commitElement(e);
        break;
    }
    case ManualPage:
        if (applyManual())
            showPage(CurrentPage);
        break;
    default:
        break;
    }
}

void QueryWizard::finish() {
    if (page() == ManualPage) {
        if (!applyManual())
            return;
        showPage(CurrentPage);
    }
    const QString text = currentQueryText();
    // Every condition deleted: the user wants all records again, and there is nothing to save.
    if (text.isEmpty()) {
        m_result.clear();
        m_changed = !m_initial.isEmpty();
        accept();
        return;
    }
    if (!checkQuery(text) || !saveFinished(text))
        return;
    m_result = text;
    m_changed = true;
    accept();
}

bool QueryWizard::saveFinished(const QString& text) {
    using Purpose = QueryDescriptionDialog::Purpose;
    if (!m_savedLoaded)
        return true;
    auto saveLoop = [&](Purpose purpose, const QString& old) {
        QString description = old;
        for (;;) {
            const QPointer<QueryWizard> self(this);
            const std::optional<QString> given = QueryDescriptionDialog::ask(this, purpose, description);
            if (!self || !given)
                return false; // back to editing the query (or gone)
            const bool done = purpose == Purpose::Change ? m_saved.change(m_set, old, *given, text)
                                                         : m_saved.save(m_set, *given, text);
            if (done)
                return true;
            Message m;
            m.title = wizardText(WizardText::SaveQueryCaption);
            m.text = m_saved.error();
            m_messages.ask(m);
            description = *given;
        }
    };
    if (!m_editingSaved.isEmpty()) {
        const int answer = ask(WizardText::OverwriteCaption, WizardText::OverwriteText, ButtonYes | ButtonNo | ButtonCancel, ButtonYes);
        if (answer == ButtonCancel)
            return false;
        if (answer == ButtonYes)
            return saveLoop(Purpose::Change, m_editingSaved);
    }
    if (!m_mustSave && ask(WizardText::SaveQueryCaption, WizardText::SaveQueryText, ButtonYes | ButtonNo, ButtonYes) != ButtonYes)
        return true;
    return saveLoop(Purpose::Add, QString());
}

} // namespace srk
