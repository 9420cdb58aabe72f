#pragma once
// The outer layout shared by graph files (.ghf) and the graph template: a 4-byte
// little-endian length L, then the L bytes of the chart's block. No magic and no
// checksum: the block itself (ChartBlock.h) carries its own version and is checked
// when it is loaded.

#include <QByteArray>
#include <QString>

struct GraphFileRead {
  enum class Status { Ok, Missing, Unreadable };
  Status status = Status::Missing;
  QByteArray block;
  QString error;  // for Unreadable: what went wrong, to show to the user
};

// A length larger than the file is refused before anything is allocated.
GraphFileRead readGraphFile(const QString& path);
// Written through QSaveFile: an existing file is replaced only when the whole new
// one is on disk. Returns the error text, empty on success.
QString writeGraphFile(const QString& path, const QByteArray& block);
