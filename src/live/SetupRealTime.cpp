#include "live/SetupRealTime.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "live/RealTimeRules.h"
#include "text/Texts.h"

namespace {

// Wide enough for the five digits and for a period of a few hundred hours.
constexpr int kFieldWidth = 80;

QLabel* label(QWidget* parent, const char* name) {
  auto* result = new QLabel(parent);
  result->setObjectName(QString::fromLatin1(name));
  return result;
}

QWidget* withUnit(QWidget* field, QLabel* unit) {
  auto* row = new QWidget(field->parentWidget());
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(field);
  layout->addWidget(unit);
  layout->addStretch();
  return row;
}

}  // namespace

TfrmSetupRealTime::TfrmSetupRealTime(Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      prompts_(prompts) {
  setObjectName(QStringLiteral("frmSetupRealTime"));
  setModal(true);

  edtRealTimeNo = new QLineEdit(this);
  edtRealTimeNo->setObjectName(QStringLiteral("edtRealTimeNo"));
  // Up to five digits. Qt's optional digit is '0' (its '9' would demand all five);
  // unfilled places show as '_'.
  edtRealTimeNo->setInputMask(QStringLiteral("00000;_"));
  edtRealTimeNo->setText(QStringLiteral(" 2000"));
  edtRealTimeNo->setFixedWidth(kFieldWidth);

  txtRate = new QComboBox(this);
  txtRate->setObjectName(QStringLiteral("txtRate"));
  txtRate->setEditable(true);
  txtRate->setInsertPolicy(QComboBox::NoInsert);
  txtRate->addItems({QStringLiteral("0.1"), QStringLiteral("0.2"), QStringLiteral("0.5"), QStringLiteral("1.0"),
                     QStringLiteral("2.0"), QStringLiteral("5.0"), QStringLiteral("10.0"), QStringLiteral("20.0"),
                     QStringLiteral("30.0")});
  txtRate->setCurrentIndex(0);
  txtRate->setFixedWidth(kFieldWidth);

  edtPeriod = new QLineEdit(this);
  edtPeriod->setObjectName(QStringLiteral("edtPeriod"));
  edtPeriod->setReadOnly(true);
  edtPeriod->setFixedWidth(kFieldWidth);

  btnOpenSingleSet = new QPushButton(this);
  btnOpenSingleSet->setObjectName(QStringLiteral("btnOpenSingleSet"));
  btnOpenSingleSet->setDefault(true);
  Button1 = new QPushButton(this);
  Button1->setObjectName(QStringLiteral("Button1"));

  auto* form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  form->addRow(label(this, "Label1"), edtRealTimeNo);
  QLabel* hint = label(this, "Label2");
  hint->setEnabled(false);  // a note, drawn greyed
  form->addRow(hint);
  form->addRow(label(this, "Label3"), withUnit(txtRate, label(this, "Label4")));
  form->addRow(label(this, "Label5"), withUnit(edtPeriod, label(this, "Label6")));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOpenSingleSet);
  buttons->addWidget(Button1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  texts::retranslate(this, TextTable::SetupRealTime);
  connect(&texts::LanguageNotifier::instance(), &texts::LanguageNotifier::languageChanged, this,
          [this] { texts::retranslate(this, TextTable::SetupRealTime); });

  connect(btnOpenSingleSet, &QPushButton::clicked, this, &QDialog::accept);
  connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
  connect(edtRealTimeNo, &QLineEdit::textChanged, this, [this] {
    if (!programChange_) edtRealTimeNoChange();
  });
  connect(txtRate, &QComboBox::editTextChanged, this, [this] {
    if (!programChange_) edtRealTimeNoChange();
  });
}

void TfrmSetupRealTime::setRateText(const QString& text) {
  programChange_ = true;
  txtRate->setEditText(text);
  programChange_ = false;
}

void TfrmSetupRealTime::setPeriodText(const QString& text) { edtPeriod->setText(text); }

QString TfrmSetupRealTime::rateText() const { return txtRate->currentText(); }

QString TfrmSetupRealTime::countText() const {
  QString text = edtRealTimeNo->displayText();
  text.replace(u'_', u' ');
  return text;
}

QString TfrmSetupRealTime::periodText() const { return edtPeriod->text(); }

void TfrmSetupRealTime::edtRealTimeNoChange() {
  const std::optional<double> rate = realtime::parseRate(rateText());
  if (!rate) {
    prompts_.message(PromptKind::Error, realtime::conversionErrorText(rateText()));
    return;
  }
  const int count = realtime::parseCount(countText()).value_or(0);
  edtPeriod->setText(realtime::editedPeriodText(realtime::periodSeconds(count, *rate)));
}

void TfrmSetupRealTime::rewritePresets() {
  // Rewriting the current item rewrites the edit text too: put back the rate Run
  // put there, and do not let either change recompute the period.
  programChange_ = true;
  const QString text = txtRate->currentText();
  for (int i = 0; i < txtRate->count(); ++i) txtRate->setItemText(i, realtime::presetText(i));
  txtRate->setEditText(text);
  programChange_ = false;
}

void TfrmSetupRealTime::showEvent(QShowEvent* event) {
  rewritePresets();
  QDialog::showEvent(event);
  if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

std::optional<RealTimeSetupAnswer> askRealTimeSetup(Prompts& prompts, QWidget* parent,
                                                    const RealTimeSetupRequest& request) {
  TfrmSetupRealTime dialog(prompts, parent);
  dialog.setRateText(request.rateText);
  dialog.setPeriodText(request.periodText);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return RealTimeSetupAnswer{dialog.rateText(), dialog.countText()};
}
