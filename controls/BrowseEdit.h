#pragma once

#include "platform/Events.h"

#include <QWidget>
#include <functional>

class QLineEdit;
class QAbstractButton;

// A one-line folder field in a sunken border with a button at its right end that opens the folder
// chooser. The field accepts any text as it is; only a folder from the chooser comes absolute and
// without a trailing separator.
class TBrowseEdit : public QWidget
{
    Q_OBJECT
public:
    // Asks the user for a folder, modal to `owner`, preselecting `startFolder` when it is not
    // empty; returns the chosen folder, or empty text when the user cancels.
    using FolderChooser = std::function<QString(QWidget* owner, const QString& startFolder)>;

    explicit TBrowseEdit(QWidget* parent = nullptr);

    // The field's text, exactly.
    QString Path() const;
    // Sets the text as a whole: a different text moves the caret to the start, clears the
    // selection and raises OnChange; the same text does nothing.
    void SetPath(const QString& path);

    // The name assistive technology gives the field and its text.
    void SetCaption(const QString& caption);

    // Whether the chooser opens at the folder in the field.
    void SetStartWithLast(bool startWithLast) { m_startWithLast = startWithLast; }
    // How long the caret stays on, and off, while the field has the focus (ms).
    void SetBlinkRate(int ms) { m_blinkRate = ms; }
    // The text's colour.
    void SetFontColor(QColor color);
    // The pointer over the whole field, text and button.
    void SetCursor(const QCursor& cursor);

    // True while the text holds the user's edits and editing has not been finished (by Enter, or
    // by the focus leaving the field); false after the text was set as a whole.
    bool IsEditing() const { return m_editing; }

    QLineEdit* Edit() const { return m_edit; }

    // Raised after the text changed: by the user's edits, by SetPath, by the chooser. Nested when
    // a handler sets a different text.
    TNotifyEvent OnChange;
    // Raised when the user has finished editing: Enter, or the focus leaving the field.
    TNotifyEvent OnEditingFinished;
    // The folder chooser: the system's folder dialog unless replaced.
    FolderChooser Chooser;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Sets the caret's blink rate while the text part has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void textChanged();
    void editingFinished();
    void browse();

    QLineEdit* m_edit;
    QAbstractButton* m_button;
    QString m_path;
    bool m_settingText = false;
    bool m_editing = false;
    bool m_startWithLast = false;
    int m_blinkRate;
    int m_systemFlashTime = 0;
};
