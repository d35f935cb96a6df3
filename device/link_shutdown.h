// The page's shutdown order for the links: close both drivers, let the worker
// end (an apply in progress finishes first), then unload the libraries.
#pragma once

#include "device/feature_drivers.h"
#include "device/page_worker.h"
#include "device/report_transport.h"

namespace ms1 {

inline void ShutDownLinks(FeatureDrivers& drivers, PageWorker& worker, ReportTransport& transport) {
  drivers.CloseAll();
  worker.Stop();
  transport.SetWired(nullptr);
  transport.SetReceiver(nullptr);
  drivers.Unload();
}

}  // namespace ms1
