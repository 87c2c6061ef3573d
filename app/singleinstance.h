#pragma once
// One running program per user: the first start listens on a local socket named after the program
// and the user; a later start connects, hands over the files it was given (perhaps none) and ends.

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

class CSingleInstance : public QObject {
  Q_OBJECT
public:
  // key: empty for the user's default.
  explicit CSingleInstance(const QString& key = QString(), QObject* parent = nullptr);
  ~CSingleInstance() override;

  static QString DefaultKey();

  // When another instance answers: hands it the paths (absolute), or an empty one when there are
  // none, and returns false. Otherwise starts listening and returns true.
  bool Claim(const QStringList& paths);

signals:
  // A later start handed this over (empty when it had no file).
  void FileReceived(const QString& path);

private:
  bool HandOver(const QString& path);
  void OnNewConnection();

  QString m_key;
  QLocalServer* m_server = nullptr;
};
