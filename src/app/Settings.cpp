#include "app/Settings.h"

#include <cmath>
#include <cstring>

#include <QtEndian>

namespace {
const char* kRate = "RealTimeRate";
const char* kPort = "LastConnectedPort";
const char* kModel = "LastConnectedModel";

int readInt(QSettings& store, const char* key, int fallback) {
  const QVariant value = store.value(key);
  bool ok = false;
  const int result = value.toInt(&ok);
  return value.isValid() && ok ? result : fallback;
}
}  // namespace

std::unique_ptr<QSettings> openSettingsStore() {
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\ML470"), QSettings::NativeFormat);
#else
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ML470"),
                                     QStringLiteral("ML470"));
#endif
}

double decodeRate(const QVariant& value, bool* ok) {
  *ok = false;
  if (!value.isValid()) return 0;
  if (value.typeId() == QMetaType::QByteArray && value.toByteArray().size() == 8) {
    const QByteArray bytes = value.toByteArray();
    double result;
    const quint64 bits = qFromLittleEndian<quint64>(bytes.constData());
    std::memcpy(&result, &bits, sizeof result);
    *ok = std::isfinite(result);
    return result;
  }
  const double result = value.toDouble(ok);
  *ok = *ok && std::isfinite(result);
  return result;
}

QVariant encodeRate(double seconds) {
#ifdef Q_OS_WIN
  quint64 bits;
  std::memcpy(&bits, &seconds, sizeof bits);
  QByteArray bytes(8, '\0');
  qToLittleEndian(bits, bytes.data());
  return bytes;
#else
  return seconds;
#endif
}

AppSettings readSettings(QSettings& store) {
  AppSettings settings;
  bool ok = false;
  const double rate = decodeRate(store.value(kRate), &ok);
  // A rate of zero or below would make every reading pass the rate gate at once;
  // such a value can only come from a damaged store.
  if (ok && rate > 0) settings.realTimeRate = static_cast<float>(rate);
  settings.lastConnectedPort = readInt(store, kPort, 0);
  settings.lastConnectedModel = readInt(store, kModel, 472);
  return settings;
}

void writeSettings(QSettings& store, const AppSettings& settings) {
  if (!store.isWritable()) return;
  store.setValue(kRate, encodeRate(settings.realTimeRate));
  store.setValue(kPort, settings.lastConnectedPort);
  store.setValue(kModel, settings.lastConnectedModel);
  store.sync();
}
