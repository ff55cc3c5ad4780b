#include "ui/FileWatcher.h"

#include <QDir>
#include <QFileInfo>

namespace nm {

FileWatcher::FileWatcher(QObject* parent) : QObject(parent) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(QuietMilliseconds);
    connect(&quiet_, &QTimer::timeout, this, &FileWatcher::changedOnDisk);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &FileWatcher::OnFileChanged);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FileWatcher::OnFolderChanged);
}

void FileWatcher::Watch(const QString& path) {
    quiet_.stop();
    path_ = path;
    Arm();
}

void FileWatcher::Arm() {
    // Always afresh: a save through a temporary file puts another file in
    // place of the one watched, which the old watch no longer sees.
    if (const QStringList watched = watcher_.files() + watcher_.directories(); !watched.isEmpty())
        watcher_.removePaths(watched);
    if (path_.isEmpty())
        return;
    const QFileInfo file(path_);
    if (file.exists())
        watcher_.addPath(path_);
    else if (file.absoluteDir().exists())
        watcher_.addPath(file.absolutePath());
}

void FileWatcher::OnFileChanged() {
    Arm();
    quiet_.start();
}

void FileWatcher::OnFolderChanged() {
    // Another file of the folder changed, or the file is back.
    if (!QFileInfo::exists(path_))
        return;
    Arm();
    quiet_.start();
}

} // namespace nm
