package fake;

import android.content.pm.ApplicationInfo;
import android.graphics.Canvas;
import android.graphics.drawable.Drawable;

import java.net.URLDecoder;
import java.nio.charset.StandardCharsets;

// One package of the table. Label: percent-encoded UTF-8 text, or "!throws", "!null".
// Icon: "WxH" (a size of 0 means none of its own), "none", "throws", "draw-throws".
// Base APK "-" means the application names no APK.
public final class FakePackage {
    public final ApplicationInfo info = new ApplicationInfo();
    public final String state;
    private final String label;
    private final String icon;

    FakePackage(String[] fields) {
        info.packageName = fields[0];
        state = fields[1];
        label = fields[2];
        icon = fields[3];
        info.sourceDir = fields[4].equals("-") ? null : fields[4];
        info.splitSourceDirs = fields[5].isEmpty() ? null : fields[5].split(":");
    }

    public CharSequence label() {
        if (label.equals("!throws"))
            throw new IllegalStateException("Resources$NotFoundException");
        if (label.equals("!null"))
            return null;
        return new StringBuilder(URLDecoder.decode(label, StandardCharsets.UTF_8));
    }

    public Drawable icon() {
        switch (icon) {
        case "none":
            return null;
        case "throws":
            throw new IllegalStateException("icon resource not found");
        default:
            return new FakeIcon(icon);
        }
    }

    // Fills its bounds in opaque blue; checks that it is drawn where it was placed.
    static final class FakeIcon extends Drawable {
        private final int width, height;
        private final boolean failsToDraw;

        FakeIcon(String spec) {
            failsToDraw = spec.equals("draw-throws");
            String[] size = failsToDraw ? new String[] {"48", "48"} : spec.split("x");
            width = Integer.parseInt(size[0]);
            height = Integer.parseInt(size[1]);
        }

        @Override
        public int getIntrinsicWidth() {
            return width > 0 ? width : -1;
        }

        @Override
        public int getIntrinsicHeight() {
            return height > 0 ? height : -1;
        }

        @Override
        public void draw(Canvas canvas) {
            if (failsToDraw)
                throw new OutOfMemoryError("bitmap too large");
            if (right <= left || bottom <= top)
                throw new IllegalStateException("drawn without bounds");
            canvas.fillRect(left, top, right, bottom, 0xff2050c0);
        }
    }
}
