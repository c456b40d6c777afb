#pragma once

namespace srk {

// The media-control error numbers the "cdaudio" interpreter answers with, as the platform numbers them.
namespace MciError {
enum : int {
    None = 0,
    UnrecognizedKeyword = 259,
    UnrecognizedCommand = 261,
    InvalidDeviceName = 263,
    DeviceOpen = 265,
    MissingCommandString = 267,
    BadInteger = 270,
    MissingParameter = 273,
    DeviceNotReady = 276,
    OutOfRange = 282,
    MissingDeviceName = 292,
    BadTimeFormat = 293,
    DeviceNotInstalled = 306,
};
}  // namespace MciError

}  // namespace srk
