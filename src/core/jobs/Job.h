#pragma once

#include <QString>

namespace srk {

// A long run cut into slices. A driver (the progress window's timer, or the command-line loop) calls
// step() until it returns false; cancel() is honoured between slices.
class Job {
public:
    virtual ~Job() = default;
    // Does one slice. False when the job has ended (finished, cancelled or failed).
    virtual bool step() = 0;
    // 0..100
    virtual int percent() const = 0;
    virtual void cancel() { m_cancelled = true; }
    bool cancelled() const { return m_cancelled; }
    // Empty when the job went well.
    const QString& errorText() const { return m_error; }

protected:
    void fail(const QString& text) { m_error = text; }

private:
    bool m_cancelled = false;
    QString m_error;
};

}  // namespace srk
