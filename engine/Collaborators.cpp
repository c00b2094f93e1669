#include "Collaborators.h"

#include <atomic>

#include "Download.h"
#include "Factories.h"

namespace {
// The library's own playlist resolver; the library's own job stands for a null job factory.
IRedirect* DefaultRedirect() { return static_cast<IRedirect*>(NEW_REDIRECT()); }

std::atomic<JobFactory> g_job{nullptr};
std::atomic<RedirectFactory> g_redirect{&DefaultRedirect};
}  // namespace

IDownloadJob* CreateDownloadJob(int redirectsBefore) {
    if (const JobFactory make = g_job.load()) return make();
    auto* job = static_cast<CDownload*>(static_cast<IDownloadJob*>(NEW_DOWNLOAD()));
    if (job) job->SetRedirectDepth(redirectsBefore);
    return job;
}
IRedirect* CreateRedirect() { return g_redirect.load()(); }

void SetCollaboratorFactories(JobFactory job, RedirectFactory redirect) {
    g_job = job;
    g_redirect = redirect ? redirect : &DefaultRedirect;
}
