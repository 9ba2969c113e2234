#pragma once

#include "prelix10/core/Export.hpp"
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <vector>

#include "prelix10/core/WLanSettingServiceStatus.hpp"
#include "prelix10/wlan/APInfo.hpp"
#include "prelix10/wlan/CurrentWLanInfo.hpp"
#include "prelix10/wlan/FoundAPInfo.hpp"
#include "prelix10/wlan/OrvoSettingDevice.hpp"

namespace Prelix10 {

class WLanSettingControl;

// Sets up the wireless LAN of a setting device: initialise its setting, read what it is set to and how its
// connection fares, make it join an access point, list the access points it sees. Each operation runs on the
// device's queue under its lock with communicationTimeout (read when the call is made) as its budget.
class PRELIX10_EXPORT OrvoWLanSetting : public OrvoSettingDevice {
public:
    using InfoCompletion = std::function<void(std::optional<CurrentWLanInfo>, std::optional<Prelix10Error>)>;
    using ScanCompletion = std::function<void(std::optional<std::vector<FoundAPInfo>>, std::optional<Prelix10Error>)>;

    static std::shared_ptr<OrvoWLanSetting> create(OrvoConnectionSettings connectionSettings);
    static std::shared_ptr<OrvoWLanSetting> create(std::optional<PrinterInformationRecord> information,
                                                   OrvoConnectionSettings connectionSettings);
    // From a discovered device: its connection settings and information, with the default timeouts. The device
    // itself is not changed.
    static std::shared_ptr<OrvoWLanSetting> create(const OrvoSettingDevice& orvoSettingDevice);

    // The status the device advertised, when it announced the wireless LAN setting service; needs no open.
    std::optional<WLanSettingServiceStatus> serviceStatus() const;

    void initSetting(Completion completion);
    void loadCurrentInfo(InfoCompletion completion);
    void setupConnection(APInfo apInfo, Completion completion);
    void fetchNearbyAccessPointInfo(ScanCompletion completion);

    std::future<void> initSetting();
    std::future<CurrentWLanInfo> loadCurrentInfo();
    std::future<void> setupConnection(APInfo apInfo);
    std::future<std::vector<FoundAPInfo>> fetchNearbyAccessPointInfo();

protected:
    OrvoWLanSetting(std::optional<PrinterInformationRecord> information, OrvoConnectionSettings connectionSettings)
        : OrvoSettingDevice(std::move(information), std::move(connectionSettings)) {}

    void internalOpen(std::int64_t timeout) override;

    void initSettingImpl(std::int64_t timeout, Completion completion);
    void loadCurrentInfoImpl(std::int64_t timeout, InfoCompletion completion);
    void setupConnectionImpl(APInfo apInfo, std::int64_t timeout, Completion completion);
    void fetchNearbyAccessPointInfoImpl(std::int64_t timeout, ScanCompletion completion);

    virtual void internalInitSetting(std::int64_t timeout);
    virtual CurrentWLanInfo internalLoadCurrentInfo(std::int64_t timeout);
    virtual void internalSetupConnection(const APInfo& apInfo, std::int64_t timeout);
    virtual std::vector<FoundAPInfo> internalFetchNearbyAccessPointInfo(std::int64_t timeout);

private:
    // Set by each successful open, kept after close; touched only under the operation lock.
    std::shared_ptr<WLanSettingControl> wlanSettingControl_;
};

}  // namespace Prelix10
