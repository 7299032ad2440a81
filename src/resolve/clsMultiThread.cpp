#include "resolve/clsMultiThread.h"

#include <system_error>

clsMultiThread::~clsMultiThread() {
    Join();
}

bool clsMultiThread::CreateNewThread(std::function<void()> routine) {
    if (thread_.joinable()) return false;
    try {
        thread_ = std::thread(std::move(routine));
    } catch (const std::system_error&) {
        return false;
    }
    threadId_ = thread_.get_id();
    return true;
}

void clsMultiThread::Join() {
    if (thread_.joinable()) thread_.join();
}

void clsMultiThread::Release() {
    if (thread_.joinable()) thread_.detach();
}
