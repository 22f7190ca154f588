#include "controls/BrowseEdit.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

TBrowseEdit::TBrowseEdit(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_button(new QToolButton(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit);
    layout->addWidget(m_button);
    m_button->setText(QStringLiteral("..."));
    m_button->setFixedWidth(19);
    connect(m_edit, &QLineEdit::textChanged, this, [this] { Fire(OnChange, this); });
    connect(m_button, &QToolButton::clicked, this, [this] { browse(); });
}

QString TBrowseEdit::Path() const
{
    return m_edit->text();
}

void TBrowseEdit::SetPath(const QString& path)
{
    if (path != m_edit->text())
        m_edit->setText(path);
}

void TBrowseEdit::browse()
{
    const QString folder = QFileDialog::getExistingDirectory(window(), QString(), Path());
    if (!folder.isEmpty())
        SetPath(folder);
}
