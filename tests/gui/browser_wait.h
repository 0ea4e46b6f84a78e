// Waiting on the browser engine in window tests: a navigation to its end, a
// script's result from the page, and a small HTTP server on 127.0.0.1.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QVariant>
#include <QWebEnginePage>
#include <functional>
#include <memory>

#include "web_browser.h"

// Runs trigger and waits until the view finished loading; returns the load's
// success, or false when no load finished within the time.
inline bool LoadAndWait(TWebBrowser* browser, const std::function<void()>& trigger,
                        int timeoutMs = 15000) {
  QSignalSpy finished(browser, &QWebEngineView::loadFinished);
  trigger();
  if (finished.isEmpty() && !finished.wait(timeoutMs)) return false;
  return finished.last().at(0).toBool();
}

// The address the browser was last asked to show. It changes the moment a
// navigation is asked for, before any of it runs, so that nothing was asked
// for can be seen at once, without waiting for a load that does not come.
inline QUrl RequestedUrl(TWebBrowser* browser) { return browser->page()->requestedUrl(); }

// The value of a script evaluated in the page (in the page's own script world
// unless another is named); an invalid QVariant on timeout.
inline QVariant RunScript(TWebBrowser* browser, const QString& script, int timeoutMs = 10000,
                          quint32 world = 0) {
  struct State {
    bool Done = false;
    QVariant Result;
  };
  auto state = std::make_shared<State>();
  browser->page()->runJavaScript(script, world, [state](const QVariant& value) {
    state->Result = value;
    state->Done = true;
  });
  QDeadlineTimer deadline(timeoutMs);
  while (!state->Done && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return state->Result;
}

// Polls a script until it yields the expected value (images decode after the
// load has finished).
inline bool ScriptBecomes(TWebBrowser* browser, const QString& script, const QVariant& expected,
                          int timeoutMs = 10000) {
  QDeadlineTimer deadline(timeoutMs);
  do {
    if (RunScript(browser, script) == expected) return true;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  } while (!deadline.hasExpired());
  return false;
}

// Answers every HTTP request with one fixed reply and counts the requests.
class TLocalHttpServer : public QObject {
 public:
  explicit TLocalHttpServer(QByteArray contentType, QByteArray body)
      : ContentType_(std::move(contentType)), Body_(std::move(body)) {
    Server_.listen(QHostAddress::LocalHost);
    connect(&Server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = Server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
          const QByteArray pending = socket->property("pending").toByteArray() + socket->readAll();
          socket->setProperty("pending", pending);
          if (!pending.contains("\r\n\r\n")) return;
          ++Requests;
          Paths << QString::fromLatin1(pending.split(' ').value(1));
          socket->write("HTTP/1.0 200 OK\r\nContent-Type: " + ContentType_ +
                        "\r\nCache-Control: no-store\r\nContent-Length: " +
                        QByteArray::number(Body_.size()) + "\r\n\r\n" + Body_);
          socket->disconnectFromHost();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      }
    });
  }

  QString Url(const QString& path = QStringLiteral("/")) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(Server_.serverPort()).arg(path);
  }

  int Requests = 0;
  QStringList Paths;  // the path of each request, in order

 private:
  QTcpServer Server_;
  QByteArray ContentType_;
  QByteArray Body_;
};
