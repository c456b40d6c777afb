#include "cd/AudioSinkFactory.h"

#include "cd/NullAudioSink.h"

#include <mutex>

namespace srk {

namespace {
std::mutex factoryMutex;
AudioSinkFactory& factory() {
    static AudioSinkFactory f;
    return f;
}
}  // namespace

void setAudioSinkFactory(AudioSinkFactory f) {
    std::lock_guard<std::mutex> guard(factoryMutex);
    factory() = std::move(f);
}

bool audioSinkFactorySet() {
    std::lock_guard<std::mutex> guard(factoryMutex);
    return bool(factory());
}

std::unique_ptr<AudioSink> makeAudioSink() {
    std::lock_guard<std::mutex> guard(factoryMutex);
    std::unique_ptr<AudioSink> sink = factory() ? factory()() : nullptr;
    return sink ? std::move(sink) : std::make_unique<NullAudioSink>();
}

}  // namespace srk
