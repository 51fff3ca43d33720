// A FileDialog for tests: records each request and returns the queued results (cancelled
// when the queue is empty).
#pragma once

#include <QList>
#include <deque>

#include "services/FileDialog.h"

class ScriptedFileDialog : public FileDialog {
  public:
    QList<Request> requests;
    std::deque<Result> results;

    Result run(QWidget*, const Request& request) override {
        requests.append(request);
        if (results.empty()) return {};
        Result r = results.front();
        results.pop_front();
        return r;
    }

    static Result choose(const QString& file, int filterIndex) {
        Result r;
        r.accepted = true;
        r.files = {file};
        r.filterIndex = filterIndex;
        return r;
    }
};
