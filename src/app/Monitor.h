#pragma once
// `ml472 ports` and `ml472 monitor`: the live link without windows.

#include <QStringList>

// Lists the system's serial ports, then the extra paths, one per line.
int runPortsCommand(const QStringList& extraPorts);

// Runs the live link as the desktop program does (start-up scan, poll,
// identification, decoding, acknowledge, supervision) and prints one line per
// decoded frame on stdout; link events go to stderr. seconds <= 0: until Ctrl-C.
int runMonitorCommand(const QStringList& ports, bool portsGiven, double seconds);
