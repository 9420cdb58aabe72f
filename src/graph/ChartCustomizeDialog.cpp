#include "graph/ChartCustomizeDialog.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "graph/Chart.h"

using chart::ChartLook;

ChartCustomizeDialog::ChartCustomizeDialog(const ChartLook& look, QWidget* parent) : QDialog(parent), m_look(look) {
  setObjectName(QStringLiteral("ChartCustomizeDialog"));
  setWindowTitle(tr("Graph Customization"));

  auto* texts = new QGroupBox(tr("Texts"), this);
  auto* textForm = new QFormLayout(texts);
  const auto addEdit = [&](const QString& objectName, const QString& label, const QString& value) {
    auto* edit = new QLineEdit(value, texts);
    edit->setObjectName(objectName);
    textForm->addRow(label, edit);
    return edit;
  };
  m_mainTitle = addEdit(QStringLiteral("edtMainTitle"), tr("Title"), look.mainTitle);
  m_subTitle = addEdit(QStringLiteral("edtSubTitle"), tr("Subtitle"), look.subTitle);
  m_xAxisLabel = addEdit(QStringLiteral("edtXAxisLabel"), tr("Time axis label"), look.xAxisLabel);
  m_yAxisLabel = addEdit(QStringLiteral("edtYAxisLabel"), tr("Level axis label"), look.yAxisLabel);

  auto* colours = new QGroupBox(tr("Colours"), this);
  auto* colourForm = new QFormLayout(colours);
  colourForm->addRow(tr("Grid and frame"), addColourButton(QStringLiteral("btnGraphForeColor"), &ChartLook::graphForeColor));
  colourForm->addRow(tr("Plot background"), addColourButton(QStringLiteral("btnGraphBackColor"), &ChartLook::graphBackColor));
  colourForm->addRow(tr("Desk"), addColourButton(QStringLiteral("btnDeskColor"), &ChartLook::deskColor));
  colourForm->addRow(tr("Text"), addColourButton(QStringLiteral("btnTextColor"), &ChartLook::textColor));
  colourForm->addRow(tr("Series"), addColourButton(QStringLiteral("btnSubsetColor"), &ChartLook::subsetColor));
  colourForm->addRow(tr("Level axis"), addColourButton(QStringLiteral("btnYAxisColor"), &ChartLook::yAxisColor));
  colourForm->addRow(tr("Annotations"), addColourButton(QStringLiteral("btnAnnotationColor"), &ChartLook::annotationColor));

  auto* lines = new QGroupBox(tr("Lines"), this);
  auto* lineForm = new QFormLayout(lines);
  m_gridStyle = new QComboBox(lines);
  m_gridStyle->setObjectName(QStringLiteral("cboGridStyle"));
  // In the order of chart::GridStyle.
  m_gridStyle->addItems({tr("Solid"), tr("Dotted"), tr("Dashed"), tr("None")});
  m_gridStyle->setCurrentIndex(static_cast<int>(look.gridStyle));
  lineForm->addRow(tr("Grid"), m_gridStyle);
  m_lineWidth = new QSpinBox(lines);
  m_lineWidth->setObjectName(QStringLiteral("spnLineWidth"));
  m_lineWidth->setRange(chart::kMinLineWidth, chart::kMaxLineWidth);
  m_lineWidth->setValue(look.lineWidth);
  m_lineWidth->setSuffix(tr(" px"));
  lineForm->addRow(tr("Series line width"), m_lineWidth);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName(QStringLiteral("buttonBox"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* right = new QVBoxLayout;
  right->addWidget(colours);
  auto* left = new QVBoxLayout;
  left->addWidget(texts);
  left->addWidget(lines);
  left->addStretch();
  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(buttons);
}

QPushButton* ChartCustomizeDialog::addColourButton(const QString& objectName, QColor ChartLook::*member) {
  auto* button = new QPushButton(this);
  button->setObjectName(objectName);
  button->setMinimumWidth(90);
  paintSwatch(button, m_look.*member);
  m_colourButtons[button] = member;
  connect(button, &QPushButton::clicked, this, [this, button] { chooseColour(button); });
  return button;
}

void ChartCustomizeDialog::chooseColour(QPushButton* button) {
  QColor ChartLook::*member = m_colourButtons.at(button);
  const QColor initial = m_look.*member;
  const QString title = windowTitle();
  const Chart::ColorPicker picker = Chart::colorPicker();
  const QColor chosen = picker ? picker(initial, title) : QColorDialog::getColor(initial, this, title);
  if (!chosen.isValid()) return;
  m_look.*member = chosen;
  paintSwatch(button, chosen);
}

void ChartCustomizeDialog::paintSwatch(QPushButton* button, const QColor& colour) {
  QPixmap swatch(40, 14);
  swatch.fill(colour);
  QPainter painter(&swatch);
  painter.setPen(Qt::darkGray);
  painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
  painter.end();
  button->setIcon(QIcon(swatch));
  button->setIconSize(swatch.size());
  button->setText(colour.name().toUpper());
}

ChartLook ChartCustomizeDialog::look() const {
  ChartLook look = m_look;
  look.mainTitle = m_mainTitle->text();
  look.subTitle = m_subTitle->text();
  look.xAxisLabel = m_xAxisLabel->text();
  look.yAxisLabel = m_yAxisLabel->text();
  look.gridStyle = static_cast<chart::GridStyle>(std::clamp(m_gridStyle->currentIndex(), 0, chart::kGridStyleCount - 1));
  look.lineWidth = m_lineWidth->value();
  return look;
}
