package android.app;

import android.content.Context;
import android.content.pm.PackageManager;

public final class ContextImpl extends Context {
    private final PackageManager packageManager = new PackageManager(fake.FakeDevice.load());

    @Override
    public PackageManager getPackageManager() {
        return packageManager;
    }
}
