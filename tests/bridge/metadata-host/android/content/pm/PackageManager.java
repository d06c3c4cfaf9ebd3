package android.content.pm;

import android.graphics.drawable.Drawable;

import fake.FakeDevice;
import fake.FakePackage;

import java.util.ArrayList;
import java.util.List;

// Stand-in answering from the fake device's table. Packages that are disabled or
// removed for the user are listed only when the caller asks for them, as on a device.
public class PackageManager {
    public static final int MATCH_DISABLED_COMPONENTS = 0x200;
    public static final int MATCH_UNINSTALLED_PACKAGES = 0x2000;
    public static final int MATCH_DISABLED_UNTIL_USED_COMPONENTS = 0x8000;

    private final FakeDevice device;

    public PackageManager(FakeDevice device) {
        this.device = device;
    }

    public List<ApplicationInfo> getInstalledApplications(int flags) {
        if (device.listFails)
            throw new SecurityException("listing refused");
        List<ApplicationInfo> list = new ArrayList<>();
        for (FakePackage p : device.packages) {
            if (p.state.equals("disabled") && (flags & MATCH_DISABLED_COMPONENTS) == 0)
                continue;
            if (p.state.equals("disabled-until-used") && (flags & MATCH_DISABLED_UNTIL_USED_COMPONENTS) == 0)
                continue;
            if (p.state.equals("uninstalled") && (flags & MATCH_UNINSTALLED_PACKAGES) == 0)
                continue;
            list.add(p.info);
        }
        return list;
    }

    public CharSequence getApplicationLabel(ApplicationInfo info) {
        return device.find(info).label();
    }

    public Drawable getApplicationIcon(ApplicationInfo info) {
        return device.find(info).icon();
    }
}
