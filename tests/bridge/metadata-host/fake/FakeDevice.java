package fake;

import android.content.pm.ApplicationInfo;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;

// The packages of a pretend device, read from the table the test writes
// (system property "fake.packages"), one package per line, tab-separated:
//   name, state, label, icon, base APK path, split APK paths joined by ':'
// "fake.list=fails" makes the listing itself fail.
public final class FakeDevice {
    public final List<FakePackage> packages = new ArrayList<>();
    public final boolean listFails = "fails".equals(System.getProperty("fake.list"));

    public static FakeDevice load() {
        FakeDevice device = new FakeDevice();
        String table = System.getProperty("fake.packages");
        if (table == null)
            return device;
        try {
            for (String line : Files.readAllLines(Paths.get(table), StandardCharsets.UTF_8)) {
                if (!line.isEmpty())
                    device.packages.add(new FakePackage(line.split("\t", -1)));
            }
        } catch (IOException e) {
            throw new RuntimeException(e);
        }
        return device;
    }

    public FakePackage find(ApplicationInfo info) {
        for (FakePackage p : packages) {
            if (p.info == info)
                return p;
        }
        throw new IllegalArgumentException("unknown application " + info.packageName);
    }
}
