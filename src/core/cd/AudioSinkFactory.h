#pragma once

#include "cd/AudioSink.h"

#include <functional>
#include <memory>

namespace srk {

using AudioSinkFactory = std::function<std::unique_ptr<AudioSink>()>;

// The process's way of making a sink for each opened drive. Until one is set (the windows set a device
// sink), it is a null sink on the wall clock; a null factory puts that back.
void setAudioSinkFactory(AudioSinkFactory factory);
std::unique_ptr<AudioSink> makeAudioSink();
// True while a factory other than the null sink's is set.
bool audioSinkFactorySet();

}  // namespace srk
