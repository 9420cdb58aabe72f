// ml472-sim: the simulated meter on a pseudo-terminal.
//
// Prints the device path on its first line, then serves until stopped (Ctrl-C,
// "quit" on standard input, or --seconds). Every packet received is logged on
// standard error as "rx <letter> <hex bytes>". Standard input takes commands while
// it runs: "silent", "talk", "level <dB>", "quit".

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <unistd.h>

#include "sim/PtyMeter.h"

namespace {
void onSignal(int) { QCoreApplication::quit(); }
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("ml472-sim");

  QCommandLineParser parser;
  parser.setApplicationDescription("Simulated ML472 / 471 sound level meter on a pseudo-terminal.");
  parser.addHelpOption();
  QCommandLineOption model("model", "Meter model: 471 or 472 (default 472).", "model", "472");
  QCommandLineOption interval("interval-ms", "Time from an acknowledge to the next frame (default 100).", "ms", "100");
  QCommandLineOption garbage("garbage", "Send stray bytes before some frames.");
  QCommandLineOption split("split", "Send frames in two pieces.");
  QCommandLineOption silent("silent", "Answer nothing.");
  QCommandLineOption noIdentify("no-identify", "Do not answer the identification 'K'.");
  QCommandLineOption pace("pace", "Send byte by byte at the pace of a 9600-baud line.");
  QCommandLineOption silentAfter("silent-after", "Fall silent after this many seconds.", "seconds");
  QCommandLineOption talkAfter("talk-after", "Answer again after this many seconds.", "seconds");
  QCommandLineOption seconds("seconds", "Stop after this many seconds.", "seconds");
  QCommandLineOption levels("levels", "Levels in dB, one per frame, comma-separated; the last is held.", "list");
  QCommandLineOption seed("seed", "Seed of the noise and the faults.", "n", "1");
  parser.addOptions({model, interval, garbage, split, silent, noIdentify, pace, silentAfter, talkAfter, seconds, levels, seed});
  parser.process(app);

  SimOptions options;
  options.model = parser.value(model) == "471" ? 471 : 472;
  options.frameIntervalMs = std::max(0, parser.value(interval).toInt());
  options.garbage = parser.isSet(garbage);
  options.splitFrames = parser.isSet(split);
  options.silent = parser.isSet(silent);
  options.identifyReply = !parser.isSet(noIdentify);
  options.seed = parser.value(seed).toUInt();

  PtyMeter meter(options);
  meter.setPacing(parser.isSet(pace));
  if (parser.isSet(levels)) {
    std::vector<int> tenths;
    for (const QString& item : parser.value(levels).split(',', Qt::SkipEmptyParts))
      tenths.push_back(static_cast<int>(std::lround(item.trimmed().toDouble() * 10)));
    meter.meter().setLevelScript(tenths);
  }
  if (!meter.start()) {
    std::fprintf(stderr, "ml472-sim: cannot open a pseudo-terminal: %s\n", qPrintable(meter.errorString()));
    return 1;
  }
  std::printf("%s\n", qPrintable(meter.slavePath()));
  std::fflush(stdout);

  QObject::connect(&meter, &PtyMeter::packetReceived, [](const QByteArray& packet) {
    const char letter = packet[1];
    std::fprintf(stderr, "rx %c %s\n", (letter >= 0x21 && letter < 0x7F) ? letter : '?',
                 packet.toHex(' ').toUpper().constData());
  });

  auto at = [&](const QCommandLineOption& option, std::function<void()> work) {
    if (parser.isSet(option)) QTimer::singleShot(static_cast<int>(parser.value(option).toDouble() * 1000), work);
  };
  at(silentAfter, [&] {
    meter.meter().setSilent(true);
    std::fprintf(stderr, "silent\n");
  });
  at(talkAfter, [&] {
    meter.meter().setSilent(false);
    std::fprintf(stderr, "talking\n");
  });
  at(seconds, [] { QCoreApplication::quit(); });

  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buffer[256];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer - 1);
    if (n <= 0) {
      input.setEnabled(false);  // standard input closed: keep serving
      return;
    }
    for (const QString& line : QString::fromLocal8Bit(buffer, static_cast<int>(n)).split('\n', Qt::SkipEmptyParts)) {
      const QStringList words = line.simplified().split(' ');
      if (words[0] == "quit") QCoreApplication::quit();
      else if (words[0] == "silent") meter.meter().setSilent(true);
      else if (words[0] == "talk") meter.meter().setSilent(false);
      else if (words[0] == "level" && words.size() > 1)
        meter.meter().setLevelScript({static_cast<int>(std::lround(words[1].toDouble() * 10))});
    }
  });

  std::signal(SIGINT, onSignal);
  std::signal(SIGTERM, onSignal);
  return app.exec();
}
