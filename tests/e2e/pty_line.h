// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A pseudo-terminal of the test's: the window opens Path(), the test reads and writes the other
// end. With a responder it answers each frame the window sends while the window's event loop
// runs (inside its waits too), as a module on the line would.
class TPtyLine : public QObject {
public:
    TPtyLine();
    ~TPtyLine() override;

    bool Ok() const { return master_ >= 0; }
    const QString& Path() const { return path_; }

    // What the window has sent since the last call, without waiting.
    std::string Read();
    // The frames (CR removed) among bytes read, cut at each CR; the rest waits for more.
    std::vector<std::string> Frames(const std::string& bytes);
    // Every frame the window sent, the responder's included, in order.
    const std::vector<std::string>& Sent() const { return sent_; }

    // Each frame is answered with responder(frame) (nothing for an empty text).
    void Respond(std::function<std::string(const std::string& frame)> responder);
    // All of bytes within ms, letting the window read meanwhile.
    bool Write(const std::string& bytes, int ms = 3000);
    // Closes the test's end: the window sees the device go away.
    void HangUp();
    // Nobody holds the device: it opens, locks, and is not held exclusively.
    bool PortFree() const;

private:
    void Answer();

    int master_ = -1;
    int slave_ = -1;
    QString path_;
    std::string partial_;
    std::vector<std::string> sent_;
    std::function<std::string(const std::string&)> responder_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

// A reply as a module sends it: the text, two checksum characters and CR.
std::string ModuleReply(const std::string& text);
