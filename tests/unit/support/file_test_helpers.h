// Small helpers of the unit tests that work on real files in temporary folders.
#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include "vexa_error.h"

namespace test_files {

// The file's bytes, or "<missing>" when it cannot be read.
inline QByteArray Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Writes the bytes, creating the file's folder first.
inline void Write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// Runs fn and returns the message of the error it throws (empty when none).
template <typename Fn>
QString ErrorOf(Fn fn) {
  try {
    fn();
  } catch (const VexaError& e) {
    return e.Message;
  }
  return QString();
}

}  // namespace test_files
