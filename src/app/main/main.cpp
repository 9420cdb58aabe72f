// ml472: the desktop program, or with a command word one of its headless commands.
//
//   ml472 [--demo] [--port PATH]...          the desktop program
//   ml472 ports [--port PATH]...             list the serial ports the program sees
//   ml472 monitor --port PATH [--seconds N]  print the live readings

#include <cstdio>
#include <memory>

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include "app/AboutBox.h"
#include "app/DesktopPrompts.h"
#include "app/MainWindow.h"
#include "app/ToolIcons.h"
#include "app/Monitor.h"
#include "link/QtSerial.h"
#ifdef Q_OS_UNIX
#include "sim/PtyMeterThread.h"
#endif

namespace {

int runHeadless(const QString& command, int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("ml472");
  QCoreApplication::setApplicationVersion(ML472_VERSION);
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

int runDesktop(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("ML472");
  QApplication::setOrganizationName("ML470");
  QApplication::setApplicationVersion(ML472_VERSION);
  QApplication::setWindowIcon(toolIcon(ToolIcon::DataLogger));

  QCommandLineParser parser;
  parser.setApplicationDescription("Companion program of the ML472 and 471 sound level meters.");
  parser.addHelpOption();
  parser.addVersionOption();
  QCommandLineOption demo("demo", "Start with the simulated meter on a pseudo-terminal.");
  QCommandLineOption port("port", "A serial port to add to the port list (repeatable).", "path");
  QCommandLineOption quitAfter("quit-after", "Close the main window after this many seconds (for scripted runs).",
                               "seconds");
  QCommandLineOption screenshot("screenshot", "Save a picture of the main window to this PNG file just before "
                                "--quit-after closes it.", "file");
  QCommandLineOption record("record", "Once started, record COUNT points at RATE seconds as if Run, Start had "
                            "been chosen (for scripted runs).", "count:rate");
  parser.addOptions({demo, port, quitAfter, screenshot, record});
  parser.process(app);

  SystemClock clock;
  QtSerialBackend backend(clock);
  DesktopPrompts prompts;

  QStringList leadingPorts;
#ifdef Q_OS_UNIX
  std::unique_ptr<PtyMeterThread> demoMeter;
  if (parser.isSet(demo)) {
    demoMeter = std::make_unique<PtyMeterThread>(SimOptions{});
    if (!demoMeter->start()) {
      std::fprintf(stderr, "ml472: cannot start the simulated meter: %s\n", qPrintable(demoMeter->errorString()));
      return 1;
    }
    // First in the list, so the start-up search finds it without trying the others.
    leadingPorts << demoMeter->slavePath();
  }
#else
  if (parser.isSet(demo)) std::fprintf(stderr, "ml472: --demo needs pseudo-terminals, which this system lacks\n");
#endif

  auto* splash = new TfrmAbout(nullptr, true);
  splash->setAttribute(Qt::WA_DeleteOnClose);
  splash->show();
  QApplication::processEvents();

  TfrmMain window(MainServices{clock, backend, prompts, leadingPorts, parser.values(port), nullptr, splash, {}});
  prompts.setParent(&window);
  window.showMaximized();
  if (parser.isSet(record)) {
    const QStringList parts = parser.value(record).split(':');
    const QString count = parts.value(0);
    const QString rate = parts.value(1, "1.0");
    // After the start-up search, which runs once the window is shown.
    QTimer::singleShot(100, &window, [&window, count, rate] {
      window.answerNextSetup(rate, count);
      window.recorder().btnRunClick();
    });
  }
  if (parser.isSet(quitAfter)) {
    const QString picture = parser.value(screenshot);
    QTimer::singleShot(static_cast<int>(parser.value(quitAfter).toDouble() * 1000), &window,
                       [&window, &prompts, picture] {
                         if (!picture.isEmpty()) window.grab().save(picture);
                         std::printf("real-time points: %d\n", window.recorder().realTimePointCount());
                         std::fflush(stdout);
                         // A scripted run answers No to the save questions of closing.
                         prompts.setAutoAnswer(PromptButton::No);
                         window.close();
                       });
  }
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  const QString command = argc > 1 && argv[1][0] != '-' ? QString::fromLocal8Bit(argv[1]) : QString();
  if (command == "ports" || command == "monitor") return runHeadless(command, argc, argv);
  if (!command.isEmpty()) {
    std::fprintf(stderr, "ml472: unknown command '%s' (commands: ports, monitor)\n", qPrintable(command));
    return 2;
  }
  return runDesktop(argc, argv);
}
