#pragma once
#include <QGridLayout>
#include <QLabel>

// A form row: the caption in column 0, the field in column 1. The caption is
// the field's buddy, so a screen reader names the field by it.
inline QLabel* addFieldRow(QGridLayout* grid, int row, const QString& caption, QWidget* field,
                           Qt::Alignment captionAlignment = {}) {
  auto* label = new QLabel(caption, field->parentWidget());
  label->setBuddy(field);
  grid->addWidget(label, row, 0, captionAlignment);
  grid->addWidget(field, row, 1);
  return label;
}
