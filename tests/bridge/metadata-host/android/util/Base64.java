package android.util;

// Stand-in keeping the framework's flags: without NO_WRAP the text is broken into
// lines of 76 characters, each ending in a line feed.
public final class Base64 {
    public static final int DEFAULT = 0;
    public static final int NO_PADDING = 1;
    public static final int NO_WRAP = 2;
    public static final int CRLF = 4;
    public static final int URL_SAFE = 8;

    public static String encodeToString(byte[] input, int flags) {
        java.util.Base64.Encoder encoder =
            (flags & URL_SAFE) != 0 ? java.util.Base64.getUrlEncoder() : java.util.Base64.getEncoder();
        if ((flags & NO_PADDING) != 0)
            encoder = encoder.withoutPadding();
        String text = encoder.encodeToString(input);
        if ((flags & NO_WRAP) != 0)
            return text;
        String end = (flags & CRLF) != 0 ? "\r\n" : "\n";
        StringBuilder wrapped = new StringBuilder();
        for (int i = 0; i < text.length(); i += 76)
            wrapped.append(text, i, Math.min(text.length(), i + 76)).append(end);
        return wrapped.toString();
    }
}
