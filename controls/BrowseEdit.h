#pragma once

#include "platform/Events.h"

#include <QWidget>

class QLineEdit;
class QToolButton;

// A one-line folder field with a button that opens the folder chooser.
class TBrowseEdit : public QWidget
{
public:
    explicit TBrowseEdit(QWidget* parent = nullptr);

    QString Path() const;
    // Runs OnChange when the path differs from the current one.
    void SetPath(const QString& path);

    QLineEdit* Edit() const { return m_edit; }

    TNotifyEvent OnChange;

private:
    void browse();

    QLineEdit* m_edit;
    QToolButton* m_button;
};
