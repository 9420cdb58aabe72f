#pragma once
// The chart's customization dialog ("Graph Option"): titles, axis labels, colours,
// grid style and line width. It edits a copy of the look; Chart::customize()
// applies it on OK. Colours are chosen through Chart::colorPicker() when one is
// set (tests), QColorDialog otherwise.

#include <map>

#include <QDialog>

#include "graph/ChartLook.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

class ChartCustomizeDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ChartCustomizeDialog(const chart::ChartLook& look, QWidget* parent = nullptr);

  chart::ChartLook look() const;

 private:
  QPushButton* addColourButton(const QString& objectName, QColor chart::ChartLook::*member);
  void chooseColour(QPushButton* button);
  static void paintSwatch(QPushButton* button, const QColor& colour);

  chart::ChartLook m_look;
  QLineEdit* m_mainTitle = nullptr;
  QLineEdit* m_subTitle = nullptr;
  QLineEdit* m_xAxisLabel = nullptr;
  QLineEdit* m_yAxisLabel = nullptr;
  QComboBox* m_gridStyle = nullptr;
  QSpinBox* m_lineWidth = nullptr;
  std::map<QPushButton*, QColor chart::ChartLook::*> m_colourButtons;
};
