// Watches the document's file for the editor window: one signal a short
// while after the file changes, is replaced, removed or comes back.
//
// The watcher only says that something happened to the file; whether it is a
// change the user must hear of is for CheckDisk (core/DiskWatch.h) against
// the document's stamp. The editor's own save re-stamps the document before
// the signal comes, so its own writes then read as Same and need no pause.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace nm {

class FileWatcher final : public QObject {
    Q_OBJECT

public:
    // How long the watcher waits for a burst of changes to end.
    static constexpr int QuietMilliseconds = 200;

    explicit FileWatcher(QObject* parent = nullptr);

    // Watches `path` alone from now on; "" watches nothing. A file that is not
    // there is waited for in its folder (a folder that is not there either
    // cannot be watched).
    void Watch(const QString& path);
    const QString& Path() const { return path_; }

signals:
    // Once per burst, when the burst has ended.
    void changedOnDisk();

private:
    // Watches the file, or its folder until the file is there again.
    void Arm();
    void OnFileChanged();
    void OnFolderChanged();

    QFileSystemWatcher watcher_;
    QTimer quiet_;
    QString path_;
};

} // namespace nm
