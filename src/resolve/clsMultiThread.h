#pragma once
#include <functional>
#include <thread>

// A lookup worker's thread. Unlike a bare std::thread it is never suspended or killed from
// outside, which could leave a lock inside the resolver held for ever: its owner tells the
// worker to end and then joins it, or, when the worker is stuck in a lookup, lets it go.
class clsMultiThread {
  public:
    clsMultiThread() = default;
    clsMultiThread(const clsMultiThread&) = delete;
    clsMultiThread& operator=(const clsMultiThread&) = delete;
    // Joins a thread nobody released; its owner must have told it to end.
    ~clsMultiThread();

    // Starts the thread once; later calls do nothing. Returns false when no thread could be made.
    bool CreateNewThread(std::function<void()> routine);
    bool Created() const { return thread_.joinable(); }
    std::thread::id threadID() const { return threadId_; }

    // Waits for a thread that has been told to end.
    void Join();
    // Lets a thread that is still inside a lookup finish on its own.
    void Release();

  private:
    std::thread thread_;
    std::thread::id threadId_;
};
