#pragma once
// The three settings kept between runs. Each value is read and written in its own
// guarded step: a value that is missing or unreadable falls back to its default
// alone, and a failed write is lost silently.

#include <memory>

#include <QSettings>

struct AppSettings {
  float realTimeRate = 0.2f;     // seconds between real-time points
  int lastConnectedPort = 0;     // index into the port list
  int lastConnectedModel = 472;  // 471 or 472
};

// The store: on Windows the machine's registry key SOFTWARE\ML470 (as before); on
// other systems the user's own settings file, since a per-machine store that users
// cannot write would lose every setting.
std::unique_ptr<QSettings> openSettingsStore();

AppSettings readSettings(QSettings& store);
void writeSettings(QSettings& store, const AppSettings& settings);

// "RealTimeRate" is an 8-byte IEEE double in the registry; elsewhere a number.
// Both forms are read everywhere.
double decodeRate(const QVariant& value, bool* ok);
QVariant encodeRate(double seconds);
