#include "graph/GraphFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

GraphFileRead readGraphFile(const QString& path) {
  GraphFileRead result;
  QFile file(path);
  if (!QFileInfo::exists(path)) return result;
  result.status = GraphFileRead::Status::Unreadable;
  if (!file.open(QIODevice::ReadOnly)) {
    result.error = QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString());
    return result;
  }
  const QByteArray header = file.read(4);
  if (header.size() != 4) {
    result.error = QStringLiteral("Read error in \"%1\".").arg(path);
    return result;
  }
  const quint32 length = qFromLittleEndian<quint32>(header.constData());
  if (static_cast<qint64>(length) > file.size() - 4) {
    result.error = QStringLiteral("Read error in \"%1\": the file is shorter than it says.").arg(path);
    return result;
  }
  result.block = file.read(length);
  if (result.block.size() != static_cast<qsizetype>(length)) {
    result.error = QStringLiteral("Read error in \"%1\".").arg(path);
    result.block.clear();
    return result;
  }
  result.status = GraphFileRead::Status::Ok;
  return result;
}

QString writeGraphFile(const QString& path, const QByteArray& block) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString());
  char header[4];
  qToLittleEndian<quint32>(static_cast<quint32>(block.size()), header);
  file.write(header, 4);
  file.write(block);
  if (!file.commit()) return QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString());
  return {};
}
