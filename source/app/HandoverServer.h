// The command channel of a running Lumora: a local socket, private to the user, named after
// the user and the program directory. A client sends one line and gets one line back:
//   "<number>"     runs that command as if chosen from the menu: "ok", "disabled", "unknown"
//   "open <path>"  opens a spectrum file in a new diagram: "ok" or "failed"
// Acquisition programs hand spectra over this way (commands 551, 555, 556), and a second
// `lumora datei.txt` passes its file to the running program instead of starting another.
#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <functional>
#include <optional>

class HandoverServer : public QObject {
    Q_OBJECT
  public:
    // The longest line taken; a command number has at most 16 bytes.
    static constexpr qsizetype kMaxLine = 4096;
    static constexpr qsizetype kMaxNumber = 16;

    // Gets the line without its end and answers through `reply` (at once or later).
    using Reply = std::function<void(const QByteArray& answer)>;
    using Handler = std::function<void(const QByteArray& line, Reply reply)>;

    explicit HandoverServer(Handler handler, QObject* parent = nullptr);

    // The channel's name for the program in `programDir`, run by this user.
    static QString nameFor(const QString& programDir);
    // Starts listening. A socket left by a program that ended without closing it is taken
    // over; false when another running program answers on the name.
    bool listen(const QString& name);
    QString serverName() const { return server_.serverName(); }

    // Sends one line to the program listening on `name`; its answer, or nullopt when no
    // program answers within `timeoutMs`.
    static std::optional<QByteArray> send(const QString& name, const QByteArray& line,
                                          int timeoutMs = 5000);

  private:
    void accept();

    Handler handler_;
    QLocalServer server_;
};
