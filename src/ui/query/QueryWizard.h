#pragma once

#include "query/QueryFieldList.h"
#include "query/SavedQueries.h"
#include "query/WizardTexts.h"
#include "ui/query/QueryElements.h"

#include <QDialog>

#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTreeWidget;

namespace srk {

class IniFile;
class MessageService;

// The query wizard: the saved queries of one query set, and pages on which the user builds a filter
// condition by condition (field, operation, value), joins conditions with AND and OR, changes or
// deletes them or types the filter by hand. Every text it shows is one of the numbered wizard texts.
class QueryWizard : public QDialog {
    Q_OBJECT
public:
    enum Page { SavedPage, CurrentPage, FieldPage, OperationPage, ValuePage, ManualPage };

    // Runs the wizard modally; filter is edited in place (at most 1024 characters). Returns true when
    // the user finished with a query (the caller then enables "Reset Search" and refreshes), false
    // when cancelled (filter unchanged). With positions the dialog opens where it was last left.
    static bool run(QWidget* parent, MessageService& messages, const QueryFieldList& fields, QString& filter,
                    const QString& setName, const QString& dataFolder, IniFile* positions = nullptr);

    QueryWizard(QWidget* parent, MessageService& messages, const QueryFieldList& fields,
                const QString& filter, const QString& setName, const QString& dataFolder);

    Page page() const;
    // The query being built, as filter text.
    QString currentQueryText() const { return joinQueryElements(m_elements); }
    const QVector<QueryElement>& elements() const { return m_elements; }
    // After the dialog is accepted: the filter chosen and whether it differs from the one given.
    const QString& result() const { return m_result; }
    bool changed() const { return m_changed; }

private:
    QWidget* newPage(std::optional<WizardText> title, std::optional<WizardText> prompt, QLayout*& body);
    QWidget* buildSavedPage();
    QWidget* buildCurrentPage();
    QWidget* buildFieldPage();
    QWidget* buildOperationPage();
    QWidget* buildValuePage();
    QWidget* buildManualPage();

    void showPage(Page page);
    void updateButtons();
    int ask(WizardText caption, WizardText text, int buttons = 1, int defaultButton = 1, const QString& detail = QString());
    bool checkQuery(const QString& text);

    // Saved-query list.
    void refreshSavedList(const QString& select = QString());
    int savedRow() const;
    QString savedDescription() const;
    void selectSaved();
    void changeSaved();
    void deleteSaved();
    void openBuilder(const QString& text, const QString& savedDescription, bool mustSave);

    // Current query.
    void refreshElements(int select = -1);
    QString elementDisplay(const QueryElement& element) const;
    int elementRow() const;
    void startCondition(QueryElement::Join join);
    void changeElement();
    void deleteElement();
    void startManual(int element);

    void prepareOperationPage();
    void prepareValuePage();
    void updateValueInputs();
    bool readValue(QueryElement& element);
    bool commitElement(const QueryElement& element);
    bool applyManual();

    void goBack();
    void goNext();
    void finish();
    bool saveFinished(const QString& text);

    MessageService& m_messages;
    QueryFieldList m_fields;
    QString m_initial;
    QString m_set;
    SavedQueries m_saved;
    bool m_savedLoaded = false;

    QVector<QueryElement> m_elements;
    QString m_editingSaved;  // description of the saved query being changed
    bool m_mustSave = false; // started by "&Insert"
    int m_editIndex = -1;    // element changed on the pages, -1 for a new one
    QueryElement m_pending;  // the element as the pages left it
    int m_pendingField = -1;
    int m_manualIndex = -1; // element typed by hand, -1 for the whole query
    QString m_result;
    bool m_changed = false;

    QStackedWidget* m_stack = nullptr;
    QWidget* m_nav = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_finish = nullptr;
    QPushButton* m_cancel = nullptr;

    QTreeWidget* m_savedList = nullptr;
    QPushButton* m_insertSaved = nullptr;
    QPushButton* m_changeSaved = nullptr;
    QPushButton* m_deleteSaved = nullptr;
    QPushButton* m_selectSaved = nullptr;

    QListWidget* m_elementList = nullptr;
    QLabel* m_queryText = nullptr;
    QPushButton* m_changeElement = nullptr;
    QPushButton* m_deleteElement = nullptr;

    QListWidget* m_fieldList = nullptr;
    QLabel* m_operationField = nullptr;
    QButtonGroup* m_operations = nullptr;

    QLabel* m_valueCondition = nullptr;
    QRadioButton* m_constantChoice = nullptr;
    QRadioButton* m_expressionChoice = nullptr;
    QRadioButton* m_otherFieldChoice = nullptr;
    QLineEdit* m_constantEdit = nullptr;
    QComboBox* m_choiceBox = nullptr;
    QLineEdit* m_expressionEdit = nullptr;
    QComboBox* m_otherFieldBox = nullptr;
    QCheckBox* m_absolute = nullptr;
    QCheckBox* m_caseSensitive = nullptr;

    QPlainTextEdit* m_manualEdit = nullptr;
};

} // namespace srk
