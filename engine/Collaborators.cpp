#include "Collaborators.h"

#include <atomic>

#include "Factories.h"

namespace {
// The library's own download job and playlist resolver.
IDownloadJob* DefaultJob() { return static_cast<IDownloadJob*>(NEW_DOWNLOAD()); }
IRedirect* DefaultRedirect() { return static_cast<IRedirect*>(NEW_REDIRECT()); }

std::atomic<JobFactory> g_job{&DefaultJob};
std::atomic<RedirectFactory> g_redirect{&DefaultRedirect};
}  // namespace

IDownloadJob* CreateDownloadJob() { return g_job.load()(); }
IRedirect* CreateRedirect() { return g_redirect.load()(); }

void SetCollaboratorFactories(JobFactory job, RedirectFactory redirect) {
    g_job = job ? job : &DefaultJob;
    g_redirect = redirect ? redirect : &DefaultRedirect;
}
