#pragma once

#include "prelix10/core/Export.hpp"
#include <cstdint>
#include <vector>

#include "prelix10/builder/CategoryBuilder.hpp"
#include "prelix10/builder/VelmarCommandEnumeration.hpp"

namespace Prelix10::VelmarCommand {

namespace MelodySpeaker {

enum class SoundStorageArea : int { Area1, Area2 };

class PRELIX10_EXPORT DriveRegisteredSoundParameter {
  public:
    DriveRegisteredSoundParameter(SoundStorageArea area, int number) : area_(area), number_(number) {}
    SoundStorageArea area() const { return area_; }
    int number() const { return number_; }
    int volume() const { return volume_; }
    DriveRegisteredSoundParameter& setVolume(int value) {
        volume_ = value;
        return *this;
    }

  private:
    SoundStorageArea area_;
    int number_;
    int volume_ = -1;
};

class PRELIX10_EXPORT DriveOneTimeSoundParameter {
  public:
    explicit DriveOneTimeSoundParameter(std::vector<std::uint8_t> source) : source_(std::move(source)) {}
    const std::vector<std::uint8_t>& source() const { return source_; }
    int volume() const { return volume_; }
    DriveOneTimeSoundParameter& setVolume(int value) {
        volume_ = value;
        return *this;
    }

  private:
    std::vector<std::uint8_t> source_;
    int volume_ = -1;
};

}  // namespace MelodySpeaker

// {"category": "MelodySpeaker", "contents": [...]}
class PRELIX10_EXPORT MelodySpeakerBuilder : public CategoryBuilder {
  public:
    MelodySpeakerBuilder();
    MelodySpeakerBuilder& actionDriveRegisteredSound(
        const MelodySpeaker::DriveRegisteredSoundParameter& parameter);
    MelodySpeakerBuilder& actionDriveOneTimeSound(const MelodySpeaker::DriveOneTimeSoundParameter& parameter);
};

}  // namespace Prelix10::VelmarCommand

PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::MelodySpeaker::SoundStorageArea, "Area1", "Area2");
