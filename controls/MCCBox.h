#pragma once

#include <QComboBox>

// A drop-down list whose items are records of comma-separated fields.
class TMultiColComboBox : public QComboBox
{
public:
    explicit TMultiColComboBox(QWidget* parent = nullptr) : QComboBox(parent) {}
};
