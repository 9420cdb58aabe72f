#include "app/AboutBox.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "text/Texts.h"

TfrmAbout::TfrmAbout(QWidget* parent, bool splash) : QDialog(parent) {
  setObjectName("TfrmAbout");
  if (splash) setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  setFixedSize(380, 210);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(96, 24, 24, 16);
  auto* product = new QLabel("ML472", this);
  product->setObjectName("lblProduct");
  QFont big = product->font();
  big.setPointSizeF(big.pointSizeF() * 2.0);
  big.setBold(true);
  product->setFont(big);
  auto* software = new QLabel(this);
  software->setObjectName("Label2");
  version_ = new QLabel(this);
  version_->setObjectName("Label3");
  status_ = new QLabel(this);
  status_->setObjectName("Label4");
  status_->setWordWrap(true);
  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("OKButton");
  ok_->setVisible(!splash);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

  layout->addWidget(product);
  layout->addWidget(software);
  layout->addWidget(version_);
  layout->addStretch();
  layout->addWidget(status_);
  layout->addWidget(ok_, 0, Qt::AlignRight);

  retranslate();
  connect(&texts::LanguageNotifier::instance(), &texts::LanguageNotifier::languageChanged, this,
          &TfrmAbout::retranslate);
}

void TfrmAbout::retranslate() {
  texts::retranslate(this, TextTable::About);
  // The version comes from the program file; nothing follows "Version:" when it has none.
  version_->setText(texts::textOf(TextTable::About, "Version") + " " + QCoreApplication::applicationVersion());
}

void TfrmAbout::setStatus(const QString& text) {
  status_->setText(text);
  emit statusChanged(text);
  // The start-up scan blocks the event loop; paint the line now.
  repaint();
}

QString TfrmAbout::status() const { return status_->text(); }

void TfrmAbout::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  // A small meter as the program's mark.
  const QRectF body(24, 28, 52, 120);
  QLinearGradient shade(body.topLeft(), body.topRight());
  shade.setColorAt(0, QColor(70, 74, 80));
  shade.setColorAt(1, QColor(40, 42, 46));
  painter.setPen(QPen(QColor(25, 25, 28), 1.5));
  painter.setBrush(shade);
  painter.drawRoundedRect(body, 10, 10);
  painter.setBrush(QColor(196, 208, 186));
  painter.drawRoundedRect(QRectF(31, 44, 38, 26), 3, 3);
  painter.setPen(QPen(QColor(40, 48, 40), 2));
  painter.drawLine(QPointF(36, 64), QPointF(46, 52));
  painter.drawLine(QPointF(46, 52), QPointF(52, 60));
  painter.drawLine(QPointF(52, 60), QPointF(64, 48));
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(150, 155, 160));
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 2; ++column)
      painter.drawRoundedRect(QRectF(33 + column * 19, 84 + row * 18, 15, 10), 3, 3);
}
