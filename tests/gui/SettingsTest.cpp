#include <gtest/gtest.h>

#include <cstring>

#include <QTemporaryDir>

#include "app/Settings.h"

namespace {

struct Store {
  QTemporaryDir dir;
  std::unique_ptr<QSettings> open() {
    return std::make_unique<QSettings>(dir.filePath("ml470.ini"), QSettings::IniFormat);
  }
};

TEST(Settings, FirstStartGivesTheDefaults) {
  Store store;
  const AppSettings settings = readSettings(*store.open());
  EXPECT_FLOAT_EQ(settings.realTimeRate, 0.2f);
  EXPECT_EQ(settings.lastConnectedPort, 0);
  EXPECT_EQ(settings.lastConnectedModel, 472);
}

TEST(Settings, RoundTrip) {
  Store store;
  writeSettings(*store.open(), AppSettings{5.0f, 3, 471});
  const AppSettings back = readSettings(*store.open());
  EXPECT_FLOAT_EQ(back.realTimeRate, 5.0f);
  EXPECT_EQ(back.lastConnectedPort, 3);
  EXPECT_EQ(back.lastConnectedModel, 471);
}

TEST(Settings, EachValueFallsBackAlone) {
  Store store;
  {
    auto raw = store.open();
    raw->setValue("RealTimeRate", "fast");
    raw->setValue("LastConnectedPort", 2);
    raw->setValue("LastConnectedModel", "x");
  }
  const AppSettings settings = readSettings(*store.open());
  EXPECT_FLOAT_EQ(settings.realTimeRate, 0.2f);
  EXPECT_EQ(settings.lastConnectedPort, 2);
  EXPECT_EQ(settings.lastConnectedModel, 472);
}

TEST(Settings, RateReadsBothStoredForms) {
  struct Case {
    QVariant stored;
    bool ok;
    double seconds;
  };
  QByteArray binary(8, '\0');
  const double half = 0.5;
  std::memcpy(binary.data(), &half, 8);  // the registry's 8-byte little-endian double
  const Case cases[] = {
      {QVariant(binary), true, 0.5},
      {QVariant(2.0), true, 2.0},
      {QVariant(QString("30")), true, 30.0},
      {QVariant(QByteArray("abc")), false, 0},
      {QVariant(), false, 0},
      {QVariant(QString("nan")), false, 0},
  };
  for (const Case& c : cases) {
    bool ok = true;
    const double value = decodeRate(c.stored, &ok);
    EXPECT_EQ(ok, c.ok) << c.stored.toString().toStdString();
    if (c.ok) {
      EXPECT_DOUBLE_EQ(value, c.seconds);
    }
  }
}

TEST(Settings, NonPositiveRateIsIgnored) {
  Store store;
  store.open()->setValue("RealTimeRate", 0.0);
  EXPECT_FLOAT_EQ(readSettings(*store.open()).realTimeRate, 0.2f);
}

}  // namespace
