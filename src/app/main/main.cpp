// ml472: the desktop program, or with a command word one of its headless commands.
//
//   ml472 [--demo] [--port PATH]...          the desktop program
//   ml472 ports [--port PATH]...             list the serial ports the program sees
//   ml472 monitor --port PATH [--seconds N]  print the live readings

#include <cstdio>

#include <QCommandLineParser>
#include <QCoreApplication>

#include "app/Monitor.h"

int main(int argc, char** argv) {
  const QString command = argc > 1 && argv[1][0] != '-' ? QString::fromLocal8Bit(argv[1]) : QString();

  if (command == "ports" || command == "monitor") {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("ml472");
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument("command", "ports or monitor");
    QCommandLineOption port("port", "A serial port to use (repeatable), e.g. a pseudo-terminal path.", "path");
    QCommandLineOption seconds("seconds", "Stop after this many seconds.", "n");
    parser.addOption(port);
    if (command == "monitor") parser.addOption(seconds);
    parser.process(app);
    if (command == "ports") return runPortsCommand(parser.values(port));
    bool ok = true;
    const double limit = parser.isSet(seconds) ? parser.value(seconds).toDouble(&ok) : 0;
    if (!ok || limit < 0) {
      std::fprintf(stderr, "ml472: --seconds takes a number of seconds\n");
      return 2;
    }
    return runMonitorCommand(parser.values(port), parser.isSet(port), limit);
  }
  if (!command.isEmpty()) {
    std::fprintf(stderr, "ml472: unknown command '%s' (commands: ports, monitor)\n", qPrintable(command));
    return 2;
  }
  std::fprintf(stderr, "ml472: the desktop program is not built yet; use 'ml472 monitor --port PATH'\n");
  return 2;
}
